// ClassifyLeadingBytes: the byte-order and "<?xm" probe of a serialisation.
#include "xml/leading_bytes.h"

#include <cstring>
#include <istream>
#include <iterator>
#include <string>

namespace tarnwick::xml {

namespace {

bool At(std::string_view b, size_t o, unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3)
{
    if (o + 4 > b.size())
        return false;
    const auto *p = reinterpret_cast<const unsigned char *>(b.data()) + o;
    return p[0] == b0 && p[1] == b1 && p[2] == b2 && p[3] == b3;
}

int FourByteTest(std::string_view b, size_t o)
{
    if (At(b, o, 0x00, 0x00, 0xFE, 0xFF))
        return 1;
    if (At(b, o, 0xFF, 0xFE, 0x00, 0x00))
        return 2;
    if (At(b, o, 0x00, 0x00, 0xFF, 0xFE))
        return 3;
    if (At(b, o, 0xFE, 0xFF, 0x00, 0x00))
        return 4;
    if (At(b, o, 0x00, 0x3C, 0x00, 0x3F))
        return 9;
    if (At(b, o, 0x3C, 0x00, 0x3F, 0x00))
        return 10;
    if (At(b, o, 0x3C, 0x3F, 0x78, 0x6D))
        return 11;
    if (At(b, o, 0x4C, 0x6F, 0xA7, 0x94))
        return 12;
    if (At(b, o, 0x00, 0x00, 0x00, 0x3C)) {
        if (At(b, o + 4, 0x00, 0x00, 0x00, 0x3F))
            return 1;
        if (At(b, o + 4, 0x3C, 0x00, 0x00, 0x00) && At(b, o + 8, 0x00, 0x00, 0x3C, 0x00) &&
            At(b, o + 12, 0x00, 0x3C, 0x00, 0x00))
            return 8;
        return 0;
    }
    if (At(b, o, 0x3C, 0x00, 0x00, 0x00))
        return At(b, o + 4, 0x3F, 0x00, 0x00, 0x00) ? 2 : 0;
    return 0;
}

int TwoByteMarkTest(std::string_view b, size_t o)
{
    if (At(b, o, 0xFE, 0xFF, 0x00, 0x00))
        return 5;
    if (At(b, o, 0xFF, 0xFE, 0x00, 0x00))
        return 6;
    return 0;
}

// Bytes that can start any pattern; offsets starting with another byte are skipped.
bool MayStartPattern(unsigned char c)
{
    return c == 0x00 || c == 0x3C || c == 0x4C || c == 0xEF || c == 0xFE || c == 0xFF;
}

} // namespace

int ClassifyLeadingBytes(std::string_view bytes)
{
    for (size_t o = 0; o + 4 <= bytes.size(); ++o) {
        if (!MayStartPattern(static_cast<unsigned char>(bytes[o])))
            continue;
        int result = 0;
        if (o % 4 == 0) {
            result = FourByteTest(bytes, o);
        } else if (o % 4 == 2) {
            result = FourByteTest(bytes, o);
            if (result == 0)
                result = TwoByteMarkTest(bytes, o);
        }
        if (result == 0 && At(bytes, o, 0xEF, 0xBB, 0xBF, static_cast<unsigned char>(bytes[o + 3])))
            result = 7;
        if (result != 0)
            return result;
    }
    return 0;
}

int ClassifyLeadingBytes(std::istream &stream)
{
    std::streampos start = stream.tellg();
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    stream.clear();
    stream.seekg(start);
    return ClassifyLeadingBytes(bytes);
}

} // namespace tarnwick::xml
