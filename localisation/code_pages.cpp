#include "code_pages.h"

#include <cerrno>
#include <string>

#include <iconv.h>

int AnsiCodePageOfLangId(std::uint16_t langId)
{
    const int primary = langId & 0x3FF;
    const int sub = langId >> 10;
    switch (primary) {
    case 0x01: case 0x20: case 0x29:                   // Arabic, Urdu, Farsi
        return 1256;
    case 0x02: case 0x19: case 0x22: case 0x23:        // Bulgarian, Russian, Ukrainian, Belarusian
    case 0x2F: case 0x3F: case 0x40: case 0x44:        // Macedonian, Kazakh, Kyrgyz, Tatar
    case 0x50:                                         // Mongolian
        return 1251;
    case 0x04:                                         // Chinese: PRC and Singapore simplified
        return sub == 0x02 || sub == 0x04 ? 936 : 950;
    case 0x05: case 0x0E: case 0x15: case 0x18:        // Czech, Hungarian, Polish, Romanian
    case 0x1B: case 0x1C: case 0x24:                   // Slovak, Albanian, Slovenian
        return 1250;
    case 0x08:                                         // Greek
        return 1253;
    case 0x0D:                                         // Hebrew
        return 1255;
    case 0x11:                                         // Japanese
        return 932;
    case 0x12:                                         // Korean
        return 949;
    case 0x1A:                                         // Croatian, Serbian (Cyrillic is 0x0C1A)
        return sub == 0x03 ? 1251 : 1250;
    case 0x1E:                                         // Thai
        return 874;
    case 0x1F:                                         // Turkish
        return 1254;
    case 0x25: case 0x26: case 0x27:                   // Estonian, Latvian, Lithuanian
        return 1257;
    case 0x2A:                                         // Vietnamese
        return 1258;
    case 0x2C: case 0x43:                              // Azeri, Uzbek: Latin or Cyrillic
        return sub == 0x02 ? 1251 : 1254;
    default:
        return 1252;
    }
}

int CodePageOfCharset(int charset, std::uint16_t langId)
{
    switch (charset) {
    case Charset::Default: return AnsiCodePageOfLangId(langId);
    case Charset::Russian: return 1251;
    case Charset::EastEurope: return 1250;
    case Charset::Greek: return 1253;
    case Charset::Turkish: return 1254;
    case Charset::Hebrew: return 1255;
    case Charset::Arabic: return 1256;
    case Charset::Baltic: return 1257;
    case Charset::Vietnamese: return 1258;
    case Charset::Thai: return 874;
    case Charset::ShiftJis: return 932;
    case Charset::Gb2312: return 936;
    case Charset::Hangeul: return 949;
    case Charset::ChineseBig5: return 950;
    default: return 1252;
    }
}

namespace {

iconv_t toIconv(void* handle)
{
    return static_cast<iconv_t>(handle);
}

bool valid(void* handle)
{
    return toIconv(handle) != reinterpret_cast<iconv_t>(-1);
}

/// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

/// Runs one whole conversion. On a sequence the target cannot take,
/// `replacement` is written and `skip` decides how many input bytes to drop,
/// so bad input never stops or loops the conversion.
std::string convert(iconv_t cd, const QByteArray& input, const std::string& replacement,
                    size_t (*skip)(const char* at, size_t left))
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);   // initial shift state
    std::string out(static_cast<size_t>(input.size()) * 4 + 16, '\0');
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    size_t used = 0;
    while (true) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t rc = inLeft == 0 ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                      : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        used = static_cast<size_t>(outPtr - out.data());
        if (rc != static_cast<size_t>(-1)) {
            if (inLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ, or EINVAL for a sequence cut off at the end of the input.
        out.replace(used, replacement.size(), replacement);
        used += replacement.size();
        if (inLeft == 0)
            break;
        const size_t n = std::min(skip(in, inLeft), inLeft);
        in += n;
        inLeft -= n;
        if (out.size() - used < 16)
            out.resize(out.size() * 2);
    }
    out.resize(used);
    return out;
}

}  // namespace

TTextCodec::TTextCodec(int codePage) : FCodePage(codePage)
{
    const QByteArray name = "CP" + QByteArray::number(codePage);
    FDecoder = iconv_open("UTF-8", name.constData());
    FEncoder = iconv_open(name.constData(), "UTF-8");
}

TTextCodec::~TTextCodec()
{
    if (valid(FDecoder))
        iconv_close(toIconv(FDecoder));
    if (valid(FEncoder))
        iconv_close(toIconv(FEncoder));
}

QString TTextCodec::Decode(const QByteArray& bytes) const
{
    if (bytes.isEmpty())
        return {};
    if (!valid(FDecoder))
        return QString::fromLatin1(bytes);
    const std::string utf8 = convert(toIconv(FDecoder), bytes, "\xEF\xBF\xBD",
                                     [](const char*, size_t) -> size_t { return 1; });
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QByteArray TTextCodec::Encode(const QString& text) const
{
    if (text.isEmpty())
        return {};
    if (!valid(FEncoder))
        return text.toLatin1();
    const std::string bytes = convert(toIconv(FEncoder), text.toUtf8(), "?",
        [](const char* at, size_t) { return utf8SequenceLength(static_cast<unsigned char>(*at)); });
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
