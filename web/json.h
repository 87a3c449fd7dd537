#pragma once

#include <string>
#include <string_view>

namespace quorvale::web {

// Everything the compiled rules tell the page as JSON is written by this: objects and arrays
// nest, and the commas between members place themselves, so nothing builds JSON by hand. Strings
// are UTF-8 and pass through as they are, but for quotes, backslashes and control characters,
// which are escaped.
class JsonWriter
{
public:
    JsonWriter &beginObject() { return open('{'); }
    JsonWriter &endObject() { return close('}'); }
    JsonWriter &beginArray() { return open('['); }
    JsonWriter &endArray() { return close(']'); }

    JsonWriter &key(std::string_view name);
    JsonWriter &string(std::string_view text);
    JsonWriter &number(long long n);
    // The shortest decimal that reads back as `x`; JSON has no infinity or NaN, which are null.
    JsonWriter &decimal(double x);
    JsonWriter &boolean(bool b);
    JsonWriter &null();

    std::string take() { return std::move(m_json); }

private:
    void separate();
    JsonWriter &open(char bracket);
    JsonWriter &close(char bracket);

    std::string m_json;
};

} // namespace quorvale::web
