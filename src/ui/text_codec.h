#pragma once
// The window's boundary with the core's texts: the core keeps Windows-1252
// bytes, the settings file keeps the locale's encoding, Qt keeps QString.
#include <QString>
#include <string>
#include <string_view>

namespace ligamor {

QString FromCp1252(std::string_view bytes);

// Setting values: the locale's encoding, as the file stores them.
QString FromLocal(const std::string& bytes);
std::string ToLocal(const QString& text);

}  // namespace ligamor
