#ifndef ZKDB_ZKDB_H
#define ZKDB_ZKDB_H

/// @file
/// Umbrella header: includes every public header of the library.

#include "ZkDb/Export.h"
#include "ZkDb/storage/DataBase.h"
#include "ZkDb/storage/ResultRows.h"
#include "ZkDb/storage/SQLiteBuilt.h"
#include "ZkDb/storage/SQLiteHelper.h"
#include "ZkDb/storage/SQLitePool.h"
#include "ZkDb/storage/SqliteDataBase.h"
#include "ZkDb/tables/ChannelTableDao.h"
#include "ZkDb/tables/ChannelTablePo.h"
#include "ZkDb/tables/DeviceStateDao.h"
#include "ZkDb/tables/DeviceStatePo.h"
#include "ZkDb/tables/DeviceTableDao.h"
#include "ZkDb/tables/DeviceTablePo.h"
#include "ZkDb/tables/MqttMessageTableDao.h"
#include "ZkDb/tables/MqttMessageTablePo.h"
#include "ZkDb/tables/ParamTableDao.h"
#include "ZkDb/tables/ParamTablePo.h"
#include "ZkDb/tables/SipDeviceTableDao.h"
#include "ZkDb/tables/SipDeviceTablePo.h"

#endif  // ZKDB_ZKDB_H
