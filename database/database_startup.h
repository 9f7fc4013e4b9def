// The database's part of start-up: the ten list files, the copies of the
// effect lists and the tables built from them. Runs after the data folders
// exist and before the system data is read.
#pragma once

// False after "データベースの読み込みに失敗…" has been reported (the failing
// file has shown its own box before): start-up must end.
bool LoadDatabaseAtStartUp();
