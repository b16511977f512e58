#pragma once
// The ini file as the station has always used it: one key per call, the file
// read again every time, so whatever is on disk is the truth. Section and key
// names match without regard to case; the lines the station does not touch stay
// as they are. Windows-1252, lines ended by CR LF.
#include "core/platform/fileerror.h"

#include <QString>
#include <optional>

namespace inifile {

// The value of the key, blanks around it and one pair of enclosing quotes removed,
// cut to bufferSize - 1 characters. The default (trailing blanks removed, cut the
// same way) when the file, the section or the key is missing.
QString read(const QString &path, const QString &section, const QString &key,
             const QString &defaultValue, int bufferSize);

// Sets the key, creating the file, the section and the key as needed. The file is
// replaced whole, so a failed write leaves the old one. Nonzero on success, 0 when
// the file could not be written; why goes to failure when one is given.
int write(const QString &path, const QString &section, const QString &key, const QString &value,
          std::optional<FileError> *failure = nullptr);

} // namespace inifile
