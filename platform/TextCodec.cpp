#include "platform/TextCodec.h"

#include "engine/Cp1252.h"

namespace vw {

std::string ToCp1252(const QString& text) {
    // Lone surrogates come out of the UTF-8 step as U+FFFD and so end up as "?" as well.
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp1252(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromCp1252(const std::string& bytes) {
    const std::string utf8 = Cp1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace vw
