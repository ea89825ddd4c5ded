#pragma once

// The interface's typefaces: Inter (with Inter Display for titles) for Latin, Greek and Cyrillic
// text, Noto Sans Mono for monospaced text and, for Japanese, Korean and Chinese text, Noto Sans
// CJK, from the font packages the set-up installs. The application calls loadFonts() once
// at start, after the QApplication exists and the interface language is known.

#include <QLocale>
#include <QStringList>

namespace sw {

struct FontReport {
    QStringList available;   // the families the interface can use
    QStringList missing;     // families it asked for and did not find (drawn with a fallback)
};

// Makes the families available to Qt (registering the package files directly where fontconfig does
// not list them), puts the CJK family of `language` first among the families every interface font
// falls back to for glyphs it lacks, and makes body text the application's default font.
FontReport loadFonts(const QLocale &language = QLocale());

// The CJK family whose glyph forms suit `language`: JP for Japanese, KR for Korean, SC for
// Chinese (and every other language).
QString cjkFamilyFor(const QLocale &language);

}  // namespace sw
