#include "ZkDb/tables/TableFrame.h"

#include "ZkDb/storage/SqliteDataBase.h"

namespace zkdb {
namespace frame {

int prepare(DataBase*& handle) {
    if (handle == nullptr) {
        handle = new SqliteDataBase();
    }
    return handle->open(kDatabaseFile) == kOk ? kOk : kFailed;
}

int execute(DataBase*& handle, Write write, const std::string& sql) {
    if (prepare(handle) != kOk) {
        return kFailed;
    }
    const int result =
        write == Write::Insert ? handle->insert(sql.c_str()) : handle->update(sql.c_str());
    return result == kOk ? kOk : kFailed;
}

bool query(DataBase*& handle, const char* sql, ResultRows& rows) {
    if (prepare(handle) != kOk) {
        return false;
    }
    rows = handle->query(sql);
    return true;
}

void release(DataBase*& handle) {
    delete handle;
    handle = nullptr;
}

}  // namespace frame
}  // namespace zkdb
