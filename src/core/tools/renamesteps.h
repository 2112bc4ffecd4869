#pragma once

#include <QString>

#include <functional>

// Where a rename's requests to the file system go out: before each move of a
// file ("move" from to) and each beat of the folder's lock ("beat" lock). A
// test puts a stalling share here; the program sets nothing.
namespace RenameSteps {
using Hook = std::function<void(const QString &step, const QString &from, const QString &to)>;
void setHook(const Hook &hook);
void before(const QString &step, const QString &from, const QString &to = {});
} // namespace RenameSteps
