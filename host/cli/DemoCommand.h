#pragma once
// orv-desktop --demo FILE [--values N]: a sample database written by the
// same generator the benchmarks use.

#include <QString>

namespace orv::host {

// Writes the sample database at `path`: months of values when `valueCount`
// is empty, else exactly that many values (a whole number from 1 up). False
// with the reason in *error.
bool WriteDemo(const QString& path, const QString& valueCount, QString* error);

}  // namespace orv::host
