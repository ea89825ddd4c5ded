#pragma once

// Makes a post out of a web page: its title, description, site name and picture, read from the
// page's meta tags (Open Graph first, then the plain description and the title element), with
// the page itself as the one attachment. Pure computation: it never fails.

#include "Capture/Date.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace sw::PageReader {

// The post of a page's text, fetched for a web link at a time.
Post post(const QString &page, const PostLink &link, Date fetchedAt);

// The first usable value of a meta tag whose "property" (or, without one, "name") is the wanted
// key in any case.
std::optional<QString> meta(QStringView wanted, const QString &page);

// The quoted value of an attribute in the text of one tag; a value without quotes is not read.
std::optional<QString> attribute(QStringView name, const QString &tag);

// The cleaned inner text of the first element of that name.
std::optional<QString> elementText(QStringView name, const QString &page);

// Five entities decoded ("&amp;" first), then white space trimmed from both ends.
QString clean(const QString &value);

}  // namespace sw::PageReader
