#include "app/win32/label_font.h"

#include <algorithm>

namespace qimbar::app {

namespace {

LOGFONTW labelLogFont(std::wstring_view face, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -labelFontPixels(dpi);  // negative: the character height, as points give it
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = kLabelCharSet;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const auto length = std::min(face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(face.data(), length, font.lfFaceName);
    return font;
}

}  // namespace

int labelFontPixels(int dpi) {
    return MulDiv(975, dpi, 7200);
}

LabelFont chooseLabelFont(int dpi) {
    const ScreenDc screen;
    LabelFont chosen;
    for (const std::wstring_view face : kLabelFaces) {
        const LOGFONTW wanted = labelLogFont(face, dpi);
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
        const bool cyrillic = metrics.tmCharSet == kLabelCharSet;
        // A bitmap face comes in a few sizes only: it must have this one.
        const bool scalable = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0 ||
                              (metrics.tmPitchAndFamily & TMPF_VECTOR) != 0;
        const bool rightSize =
            scalable || metrics.tmHeight - metrics.tmInternalLeading == labelFontPixels(dpi);
        chosen = {std::move(font), realised.data()};
        if (sameFace && cyrillic && rightSize) {
            break;
        }
    }
    return chosen;
}

}  // namespace qimbar::app
