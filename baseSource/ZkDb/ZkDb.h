#ifndef ZKDB_ZKDB_H
#define ZKDB_ZKDB_H

/// @file
/// Umbrella header: includes every public header of the library.

#include "ZkDb/Export.h"
#include "ZkDb/storage/DataBase.h"
#include "ZkDb/storage/ResultRows.h"
#include "ZkDb/storage/SQLiteBuilt.h"
#include "ZkDb/storage/SQLiteHelper.h"
#include "ZkDb/storage/SqliteDataBase.h"
#include "ZkDb/tables/DeviceStateDao.h"
#include "ZkDb/tables/DeviceStatePo.h"

#endif  // ZKDB_ZKDB_H
