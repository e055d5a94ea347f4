#pragma once

#include <QString>
#include <string>

// The system's texts are Windows-1252 bytes: one byte is one character. These helpers convert
// at the boundaries (widgets, files in UTF-8). Characters that Windows-1252 cannot hold become
// "?"; the five bytes that Windows-1252 leaves undefined map to the C1 controls and back, so
// every byte survives a round trip.
namespace riz {

std::string Cp1252ToUtf8(const std::string& cp1252);
std::string Utf8ToCp1252(const std::string& utf8);

QString ToQString(const std::string& cp1252);
std::string FromQString(const QString& text);

// Upper case in the code page (ASCII letters and the accented letters of Windows-1252).
std::string AnsiUpperCase(const std::string& text);
std::string AnsiLowerCase(const std::string& text);
// Case-insensitive comparison in the code page; <0, 0, >0.
int AnsiCompareText(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);

std::string Trim(const std::string& text);

} // namespace riz
