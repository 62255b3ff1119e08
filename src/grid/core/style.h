#pragma once

#include "grid/core/canvas.h"

#include <memory>
#include <optional>

// The font and brush of a row or a cell with their sources: rows and cells derive from it, so
// both offer the same source accessors. Most rows and cells take both from elsewhere, so the
// parts are made on first use; until then both sources are `Inherited`.
template <TStyleSource Inherited> class LazyStyle
{
public:
    TStyleSource fontSource() const { return parts ? parts->fontSource : Inherited; }
    TStyleSource brushSource() const { return parts ? parts->brushSource : Inherited; }
    void setFontSource(TStyleSource source)
    {
        if (parts || source != Inherited)
            made().fontSource = source;
    }
    void setBrushSource(TStyleSource source)
    {
        if (parts || source != Inherited)
            made().brushSource = source;
    }

protected:
    // The own font, first refreshed from `inherited(source)` unless that gives null.
    template <typename From> TFont &styledFont(From inherited)
    {
        Parts &own = made();
        return refreshed(own.font, inherited(own.fontSource));
    }
    template <typename From> TBrush &styledBrush(From inherited)
    {
        Parts &own = made();
        return refreshed(own.brush, inherited(own.brushSource));
    }

private:
    struct Parts
    {
        std::optional<TFont> font;
        std::optional<TBrush> brush;
        TStyleSource fontSource = Inherited;
        TStyleSource brushSource = Inherited;
    };

    Parts &made()
    {
        if (!parts)
            parts = std::make_unique<Parts>();
        return *parts;
    }
    template <typename T> static T &refreshed(std::optional<T> &own, const T *from)
    {
        if (!own)
            own.emplace();
        if (from)
            *own = *from;
        return *own;
    }

    std::unique_ptr<Parts> parts;
};

// Gives a row, cell or column a font of its own, starting from the one it shows now.
template <typename Styled> TFont &ownFont(Styled &styled)
{
    if (styled.fontSource() != srcOwn) {
        styled.font();
        styled.setFontSource(srcOwn);
    }
    return styled.font();
}
