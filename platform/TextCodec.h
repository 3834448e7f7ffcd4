#pragma once
// Text of the user interface to the single-byte code-page bytes the engine keys with, and
// back. Characters the code page cannot represent become "?".
#include <QString>
#include <string>

namespace vw {

std::string ToCp1252(const QString& text);
QString FromCp1252(const std::string& bytes);

} // namespace vw
