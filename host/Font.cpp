#include "Font.h"

#include "Twips.h"
#include "Win32Holders.h"

namespace host {

FontHandle CreateFontHandle(const FontDesc& desc) {
    LOGFONTW lf{};
    const win32::WindowDc screen(nullptr);
    const int dotsPerInch = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    // A negative height asks for the character height without internal leading.
    lf.lfHeight = -RoundHalfEven(desc.size * dotsPerInch / 72.0);
    lf.lfWeight = desc.weight;
    lf.lfItalic = desc.italic;
    lf.lfUnderline = desc.underline;
    lf.lfStrikeOut = desc.strikethrough;
    lf.lfCharSet = static_cast<BYTE>(desc.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, desc.name.c_str(), LF_FACESIZE);
    return FontHandle(CreateFontIndirectW(&lf));
}

} // namespace host
