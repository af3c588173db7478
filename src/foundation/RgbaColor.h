#pragma once
// A colour as the settings store it, without any GUI type: the views turn it
// into their own colour. Components run from 0 to 1.
#include <QString>
#include <optional>

struct RgbaColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;

    bool operator==(const RgbaColor&) const = default;

    // "r1 g1 b1 a0": white, fully transparent.
    static RgbaColor genericTransparent() { return { 1, 1, 1, 0 }; }

    // Parses "r<red> g<green> b<blue> a<alpha>" (letters in any case, blanks
    // optional, text after the alpha ignored). On failure returns nothing and
    // sets problem to a message naming the text and the setting key.
    static std::optional<RgbaColor> fromString(const QString& text, const QString& key, QString* problem);

    QString logDescription() const;
};
