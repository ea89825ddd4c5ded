#pragma once

// The application's one road to the clipboard. Reading: the link on the clipboard, its plain
// text trimmed of white space and newlines at both ends, when it reads as a post link (an X status
// or any web address); the trimmed text itself is the result, not the link as the parser cleans
// it. Writing: plain text, replacing whatever the clipboard held. The key commands, the global hot
// key, the pages and the shelf use it.

#include <QString>

#include <optional>

namespace sw::app {

// The link that `text` holds, by the same rule, for any text.
std::optional<QString> linkIn(const QString &text);

// The clipboard's link; none when the clipboard holds no text or text that is not a link.
// Main thread only.
std::optional<QString> copiedLink();

// Puts plain text on the clipboard. Main thread only.
void copyText(const QString &text);

}  // namespace sw::app
