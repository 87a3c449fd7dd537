#include "json.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorvale::web {

namespace {

void appendJsonString(std::string &json, std::string_view text)
{
    json += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            json += escaped.data();
        } else {
            json += c;
        }
    }
    json += '"';
}

} // namespace

JsonWriter &JsonWriter::key(std::string_view name)
{
    separate();
    appendJsonString(m_json, name);
    m_json += ':';
    return *this;
}

JsonWriter &JsonWriter::string(std::string_view text)
{
    separate();
    appendJsonString(m_json, text);
    return *this;
}

JsonWriter &JsonWriter::number(long long n)
{
    separate();
    m_json += std::to_string(n);
    return *this;
}

JsonWriter &JsonWriter::decimal(double x)
{
    if (!std::isfinite(x))
        return null();
    separate();
    // The browser build's library has no std::to_chars for doubles: the fewest digits that
    // read back the same.
    std::array<char, 32> digits{};
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(digits.data(), digits.size(), "%.*g", precision, x);
        if (std::strtod(digits.data(), nullptr) == x)
            break;
    }
    m_json += digits.data();
    return *this;
}

JsonWriter &JsonWriter::boolean(bool b)
{
    separate();
    m_json += b ? "true" : "false";
    return *this;
}

JsonWriter &JsonWriter::null()
{
    separate();
    m_json += "null";
    return *this;
}

// A value or key after another in the same object or array takes a comma first.
void JsonWriter::separate()
{
    if (!m_json.empty() && m_json.back() != '[' && m_json.back() != '{' && m_json.back() != ':')
        m_json += ',';
}

JsonWriter &JsonWriter::open(char bracket)
{
    separate();
    m_json += bracket;
    return *this;
}

JsonWriter &JsonWriter::close(char bracket)
{
    m_json += bracket;
    return *this;
}

} // namespace quorvale::web
