#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

// A game shared as a link: the page's address with the recording in its fragment, which a
// browser never sends to the server. The fragment is `r1:` and then the recording's text,
// compressed as raw DEFLATE and written in base64url without padding:
//
//     http://127.0.0.1:8000/#r1:K07KzEtRSMsvyklRyCjNS1U...
//
// The `r1` names this format, so that a later one can be told apart and refused by name.
namespace quorvale::script {

inline constexpr std::string_view linkFormat = "r1";
// The address scripts/web serves the page at.
inline constexpr std::string_view defaultLinkBase = "http://127.0.0.1:8000/";
// Browsers refuse addresses past 2 MB; an hour's game makes a fragment of a few kilobytes.
inline constexpr std::size_t maxLinkFragment = 1'000'000;
// The longest recording a link may unpack to, the longest line a script may hold.
inline constexpr std::size_t maxLinkText = std::size_t{16} * 1024 * 1024;

struct LinkError
{
    std::string message;
};

// The fragment for a recording, `r1:` and the packed text, with no bound on its length.
std::string linkFragment(std::string_view text);

// The link for a recording: `base` without any fragment of its own, then `#` and the fragment.
// Fails for a text longer than maxLinkText or a fragment longer than maxLinkFragment, which no
// reader would open.
std::variant<std::string, LinkError> makeLink(std::string_view text, std::string_view base);

// The recording a link holds, checked as a script file is: a line that is not a command gives
// `line N: ...`. Any input gives the text or one message; the text never grows past
// maxLinkText, whatever the link claims.
std::variant<std::string, LinkError> readLink(std::string_view link);

// Whether a command-line argument is a link rather than a file: it starts with a URL scheme
// (`http://`, `https://`, `file://`, ...).
bool isLink(std::string_view argument);

} // namespace quorvale::script
