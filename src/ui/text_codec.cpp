#include "ui/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ligamor {

QString FromCp1252(std::string_view bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToCp1252(const QString& text)
{
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::ConvertInvalidToNull);
    QByteArray bytes = encoder.encode(text);
    // A character without a Windows-1252 byte came out as NUL; no text of a
    // dialog field holds a real NUL.
    bytes.replace('\0', '?');
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString FromLocal(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToLocal(const QString& text)
{
    QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ligamor
