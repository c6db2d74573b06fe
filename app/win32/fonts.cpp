#include "app/win32/fonts.h"

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
    font.lfCharSet = charSetOf(description);
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const auto length = std::min(face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(face.data(), length, font.lfFaceName);
    return font;
}

}  // namespace

BYTE charSetOf(const app::FontDescription& description) {
    return description.charset == app::Charset::Cyrillic ? RUSSIAN_CHARSET : DEFAULT_CHARSET;
}

ChosenFont chooseFont(const app::FontDescription& description, int dpi) {
    const ScreenDc screen;
    ChosenFont chosen;
    for (const std::string_view utf8Face : description.faces) {
        const std::wstring face = widen(utf8Face);
        const LOGFONTW wanted = logFont(description, face, dpi);
        UniqueFont font(CreateFontIndirectW(&wanted));
        if (!font) {
            continue;
        }
        const Selected selected(screen.get(), font.get());
        std::array<wchar_t, LF_FACESIZE> realised{};
        GetTextFaceW(screen.get(), static_cast<int>(realised.size()), realised.data());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.get(), &metrics);
        const bool sameFace = face == realised.data();
        const bool rightCharSet =
            wanted.lfCharSet == DEFAULT_CHARSET || metrics.tmCharSet == wanted.lfCharSet;
        // A bitmap face comes in a few sizes only: it must have this one.
        const bool scalable = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0 ||
                              (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0;
        const bool rightSize =
            scalable || metrics.tmHeight - metrics.tmInternalLeading == -wanted.lfHeight;
        chosen = {std::move(font), realised.data()};
        if (sameFace && rightCharSet && rightSize) {
            break;
        }
    }
    return chosen;
}

}  // namespace qimbar::win32
