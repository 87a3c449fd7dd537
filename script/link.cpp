#include "link.h"

#include "reader.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace quorvale::script {

namespace {

constexpr std::string_view alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

constexpr std::array<std::int8_t, 256> alphabetIndex = [] {
    std::array<std::int8_t, 256> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        index[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return index;
}();

// Raw DEFLATE, without the zlib header and checksum: what the browser's 'deflate-raw' streams
// read and write.
constexpr int rawWindowBits = -15;

std::string base64url(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() * 4 + 2) / 3);
    std::size_t i = 0;
    auto at = [&](std::size_t k) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]));
    };
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
        for (const int shift : {18, 12, 6, 0})
            out += alphabet[(v >> shift) & 63];
    }
    if (const std::size_t rest = bytes.size() - i; rest > 0) {
        const std::uint32_t v = at(i) << 16 | (rest == 2 ? at(i + 1) << 8 : 0);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        if (rest == 2)
            out += alphabet[(v >> 6) & 63];
    }
    return out;
}

// Bits left over in the last character are ignored, as most decoders do; a lone last character
// (six bits, no whole byte) or any character outside the alphabet, padding included, is not
// base64url.
std::optional<std::string> fromBase64url(std::string_view text)
{
    if (text.size() % 4 == 1)
        return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const int value = alphabetIndex[static_cast<unsigned char>(c)];
        if (value < 0)
            return std::nullopt;
        bits = (bits << 6 | static_cast<std::uint32_t>(value)) & 0xFFFFFF;
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

struct DeflateEnd
{
    void operator()(z_stream *stream) const { deflateEnd(stream); }
};
struct InflateEnd
{
    void operator()(z_stream *stream) const { inflateEnd(stream); }
};

Bytef *input(std::string_view bytes)
{
    // zlib's next_in is not const, but it never writes through it.
    return reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
}

// Deflating into a buffer of deflateBound() bytes with Z_FINISH cannot fail; only running out
// of memory can, and that is std::bad_alloc. One call takes at most 4 GiB, far past any link.
std::string deflateRaw(std::string_view text)
{
    if (text.size() > std::numeric_limits<uInt>::max() / 2)
        throw std::length_error("a recording too long to compress in one piece");
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, rawWindowBits, 9,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    const std::unique_ptr<z_stream, DeflateEnd> owner(&stream);
    std::string out(deflateBound(&stream, static_cast<uLong>(text.size())), '\0');
    stream.next_in = input(text);
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        throw std::bad_alloc();
    out.resize(stream.total_out);
    return out;
}

enum class Inflated { Whole, TooLong, Damaged };

// Unpacks at most `limit` bytes: the output grows a chunk at a time and stops one byte past the
// limit, so a small link that claims gigabytes costs no more than the limit.
Inflated inflateRaw(std::string_view bytes, std::size_t limit, std::string &out)
{
    z_stream stream{};
    if (inflateInit2(&stream, rawWindowBits) != Z_OK)
        return Inflated::Damaged;
    const std::unique_ptr<z_stream, InflateEnd> owner(&stream);
    constexpr std::size_t chunk = std::size_t{64} * 1024;
    stream.next_in = input(bytes);
    stream.avail_in = static_cast<uInt>(bytes.size());
    while (true) {
        const std::size_t used = out.size();
        const std::size_t room = std::min(chunk, limit + 1 - used);
        out.resize(used + room);
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + used);
        stream.avail_out = static_cast<uInt>(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        out.resize(used + room - stream.avail_out);
        if (out.size() > limit)
            return Inflated::TooLong;
        if (status == Z_STREAM_END)
            // Anything after the end of the DEFLATE data is not part of a link we made.
            return stream.avail_in == 0 ? Inflated::Whole : Inflated::Damaged;
        // Z_BUF_ERROR with room left to write: the input ended before the data did.
        if (status != Z_OK || (stream.avail_out > 0 && stream.avail_in == 0))
            return Inflated::Damaged;
    }
}

std::string prefix()
{
    return std::string(linkFormat) + ':';
}

} // namespace

std::string linkFragment(std::string_view text)
{
    return prefix() + base64url(deflateRaw(text));
}

std::variant<std::string, LinkError> makeLink(std::string_view text, std::string_view base)
{
    if (text.size() > maxLinkText)
        return LinkError{"the recording is longer than 16 MiB, more than a link may hold"};
    std::string fragment = linkFragment(text);
    if (fragment.size() > maxLinkFragment) {
        return LinkError{"the recording makes a link of " + std::to_string(fragment.size()) +
                         " characters, more than the 1 MB a link may hold"};
    }
    std::string link(base.substr(0, base.find('#')));
    link += '#';
    link += fragment;
    return link;
}

std::variant<std::string, LinkError> readLink(std::string_view link)
{
    const std::size_t hash = link.find('#');
    if (hash == std::string_view::npos)
        return LinkError{"the link holds no recording: it has no '#" + prefix() + "'"};
    const std::string_view fragment = link.substr(hash + 1);
    if (fragment.size() > maxLinkFragment)
        return LinkError{"the link is longer than 1 MB, more than a link may hold"};
    const std::size_t colon = fragment.find(':');
    const std::string_view format = fragment.substr(0, colon);
    if (colon == std::string_view::npos || format != linkFormat) {
        const bool otherFormat = colon != std::string_view::npos && colon > 1 && colon <= 8 &&
                                 format[0] == 'r' &&
                                 format.find_first_not_of("0123456789", 1) == format.npos;
        if (otherFormat) {
            return LinkError{"the link is in format '" + std::string(format) +
                             "', which this version does not read"};
        }
        return LinkError{"the link holds no recording: it has no '#" + prefix() + "'"};
    }
    const auto packed = fromBase64url(fragment.substr(colon + 1));
    if (!packed)
        return LinkError{"the link is damaged: it is not valid base64url"};
    std::string text;
    switch (inflateRaw(*packed, maxLinkText, text)) {
    case Inflated::Whole:
        break;
    case Inflated::TooLong:
        return LinkError{"the link's recording is longer than 16 MiB, more than a link may hold"};
    case Inflated::Damaged:
        return LinkError{"the link is damaged: its recording is not valid DEFLATE data"};
    }
    std::istringstream in(text);
    if (const auto read = readScript(in); const auto *error = std::get_if<LineError>(&read))
        return LinkError{"line " + std::to_string(error->number) + ": " + error->message};
    return text;
}

bool isLink(std::string_view argument)
{
    const std::size_t scheme = argument.find("://");
    if (scheme == std::string_view::npos || scheme == 0)
        return false;
    const std::string_view name = argument.substr(0, scheme);
    constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return letters.find(name[0]) != std::string_view::npos &&
           name.find_first_not_of(std::string(letters) + "0123456789+.-") == name.npos;
}

} // namespace quorvale::script
