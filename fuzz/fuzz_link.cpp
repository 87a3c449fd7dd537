// Arbitrary bytes as a link: the first byte chooses whether the rest is the whole link, or the
// DEFLATE data inside one (written in base64url here, so that the fuzzer reaches the inflater
// without having to find base64url itself). Nothing may crash, nothing may unpack past the
// bound, a refusal is one readable message, and what is read makes a link that reads the same.

#include "link.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

using namespace quorvale;

[[noreturn]] void violated(std::string_view what)
{
    std::fprintf(stderr, "invariant violated: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

// Written apart from the codec's own, so that each checks the other.
std::string base64url(std::string_view bytes)
{
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : bytes) {
        bits = (bits << 8 | static_cast<unsigned char>(c)) & 0xFFFF;
        count += 8;
        while (count >= 6) {
            count -= 6;
            out += alphabet[(bits >> count) & 63];
        }
    }
    if (count > 0)
        out += alphabet[(bits << (6 - count)) & 63];
    return out;
}

bool readable(std::string_view message)
{
    if (message.empty() || message.size() > 400)
        return false;
    for (const char c : message) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::string link =
        (data[0] & 1) != 0 ? "http://127.0.0.1:8000/#r1:" + base64url(rest) : std::string(rest);

    const auto read = script::readLink(link);
    if (const auto *error = std::get_if<script::LinkError>(&read)) {
        if (!readable(error->message))
            violated("a refusal that is not one readable line");
        return 0;
    }
    const std::string &text = std::get<std::string>(read);
    if (text.size() > script::maxLinkText)
        violated("a text unpacked past the bound");
    const auto again = script::makeLink(text, script::defaultLinkBase);
    // A text that another compressor packed tighter may make too long a link with zlib.
    if (std::holds_alternative<script::LinkError>(again))
        return 0;
    const auto back = script::readLink(std::get<std::string>(again));
    if (!std::holds_alternative<std::string>(back) || std::get<std::string>(back) != text)
        violated("a link made from a link's text does not read back as that text");
    return 0;
}
