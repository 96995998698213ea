// Opens the database file named by its argument (default "harbor.db")
// through createDatabase(), the way a host does, and reports the result code
// of open() as its exit code: 0 for 0, otherwise 100 minus the code.
#include <ZkDb/ZkDb.h>

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "harbor.db";
    DataBase* database = createDatabase();
    const int result = database->open(path);
    delete database;
    return result == 0 ? 0 : 100 - result;
}
