#include "app/win32/fonts.h"

#include "app/win32/raster_face.h"
#include "app/win32/unicode.h"

#include <algorithm>
#include <array>

namespace qimbar::win32 {

namespace {

LOGFONTW logFont(const app::FontDescription& description, std::wstring_view face, int dpi) {
    LOGFONTW font{};
    // Negative: the character height, as points give it.
    font.lfHeight = -app::fontPixels(description, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet =
        description.charset == app::Charset::Cyrillic ? RUSSIAN_CHARSET : DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const auto length = std::min(face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(face.data(), length, font.lfFaceName);
    return font;
}

struct Realised {
    ChosenFont font;
    bool asAskedFor = false;
};

Realised create(const app::FontDescription& description, std::wstring_view face, int dpi) {
    const LOGFONTW wanted = logFont(description, face, dpi);
    UniqueFont font(CreateFontIndirectW(&wanted));
    if (!font) {
        return {};
    }
    const ScreenDc screen;
    const Selected selected(screen.get(), font.get());
    std::array<wchar_t, LF_FACESIZE> realised{};
    GetTextFaceW(screen.get(), static_cast<int>(realised.size()), realised.data());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    const bool sameFace = face == realised.data();
    const bool rightCharSet =
        wanted.lfCharSet == DEFAULT_CHARSET || metrics.tmCharSet == wanted.lfCharSet;
    // A bitmap face comes in a few sizes only: it must have this one, and
    // this one must be a size it was drawn for.
    const bool scalable = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0 ||
                          (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0;
    const bool rightSize =
        scalable || (metrics.tmHeight - metrics.tmInternalLeading == -wanted.lfHeight &&
                     rasterLineDrawnFor(metrics.tmHeight));
    return {{std::move(font), realised.data()}, sameFace && rightCharSet && rightSize};
}

}  // namespace

std::optional<ChosenFont> realise(const app::FontDescription& description, std::wstring_view face,
                                  int dpi) {
    Realised realised = create(description, face, dpi);
    if (!realised.asAskedFor) {
        return std::nullopt;
    }
    return std::move(realised.font);
}

ChosenFont chooseFont(const app::FontDescription& description, int dpi) {
    ChosenFont chosen;
    for (const std::string_view face : description.faces) {
        Realised realised = create(description, widen(face), dpi);
        if (realised.font.font) {
            chosen = std::move(realised.font);
        }
        if (realised.asAskedFor) {
            break;
        }
    }
    return chosen;
}

}  // namespace qimbar::win32
