// The clipboard (the system's): its text flavours. Text is kept as the system keeps it, in Unicode;
// the flavours "TEXT" (Mac Roman), "utxt" (UTF-16) and "itxt" all stand for that one text.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <string_view>

constexpr ResType kScrapFlavorText = FOUR_CHAR("TEXT");
constexpr ResType kScrapFlavorUnicode = FOUR_CHAR("utxt");
constexpr ResType kScrapFlavorStyledUnicode = FOUR_CHAR("itxt");
constexpr ResType kScrapFlavorUTF8 = FOUR_CHAR("utf8");
constexpr ResType kScrapFlavorPicture = FOUR_CHAR("PICT");
constexpr ResType kScrapFlavorPDF = FOUR_CHAR("PDF "); // "application/pdf"
// The clipboard's bytes of a flavour other than text ("PDF "); empty when it does not offer them.
std::string GetScrapBytes(ResType flavor);
// The clipboard does not offer the flavour.
constexpr OSStatus kScrapFlavorMissing = -102;

// Empties the clipboard.
OSStatus ClearCurrentScrap();
// noErr when the clipboard offers the flavour (a picture request also accepts an image), else
// kScrapFlavorMissing.
OSStatus ScrapFlavorAvailable(ResType flavor);
// True when the clipboard holds a text in any of the text flavours.
Boolean ScrapHasText();
// Puts a flavour on the clipboard, replacing what it held: "TEXT" bytes are Mac Roman, "utxt" UTF-16
// in the machine's byte order, "utf8" UTF-8, "PDF " a PDF file's bytes. Other flavours are refused with
// kScrapFlavorMissing.
OSStatus PutScrapData(Size size, ResType flavor, const void* bytes);
// Fills the handle with the clipboard's text in the flavour ("TEXT" Mac Roman, "utf8" UTF-8, "utxt"
// UTF-16); kScrapFlavorMissing and the handle left alone when there is no text. "PICT" gives the
// clipboard's picture: a QuickDraw picture the decoder reads ("image/x-pict"), else its image (PNG,
// TIFF, ...) as a bitmap picture, scaled down to 4095 pixels a side at most.
OSStatus PrvGetScrap(Handle h, ResType flavor);

// The clipboard's text as UTF-8, cut to at most capacity bytes at a character boundary; empty when
// the clipboard holds no text.
std::string GetScrapTextUTF8(Size capacity);
// The UTF-8 text cut to at most capacity bytes without splitting a character.
std::string_view CutUTF8(std::string_view text, Size capacity);
