#include "ZkDb/storage/DataBase.h"

DataBase::~DataBase() = default;
