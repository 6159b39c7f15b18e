#pragma once
// The capacity-table document on paper: A4 PDF or the printer, one layout for both.
// Every page has the tank number, the certificate number when one is set, and
// "第 x 页 共 y 页" above the table; the first page carries the title and the header block
// (a calibration tank's points as a small table in it), the last the sign-off (计算、复核、
// 批准, each with its 日期) with its stamp box. The table shows the levels with their
// decimals lined up and the values with two decimals, right-aligned, with the optional columns
// beside them, in column groups read down each group then across. The tables after the
// main one (a vertical tank's) each begin a page under their title, laid out alike.
//
// The fonts are loaded from their Debian files, DejaVu Sans first for digits and Latin
// letters and WenQuanYi Micro Hei for Chinese: both TrueType, so the PDF's text extracts
// exactly (the OpenType CJK faces lose digits after letters and turn some characters
// into radicals when copied out of Qt's PDF). Everything here needs a QGuiApplication.

#include "output/document_model.h"

#include <QByteArray>
#include <QStringList>

#include <string>

class QPagedPaintDevice;
class QPdfWriter;

namespace kelvora::output {

// The font files: Latin first, Chinese second.
inline constexpr const char* kLatinFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* kLatinBoldFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char* kChineseFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// The families of the document's faces, loaded on first use; throws IoError when a font
// file cannot be loaded.
QStringList documentFontFamilies();

// The message refusing a document with a character that neither font can show (naming
// the header field, the character and its code point: "罐号中的字符“😀”（U+1F600）无法在
// 文档中显示！"), or "" when every character shows: no character is ever dropped.
std::string unprintableCharacterRefusal(const TableDocument& doc);

// Draws the document on `device` with the page size, orientation and margins it has (the
// printer's choice from its dialog); the grid of pairs and rows follows from them. The
// tank number and owner are laid out once, wrapped or cut with "…" inside their boxes.
// A document refused by documentRefusal or unprintableCharacterRefusal throws
// kelvora::Error with the message; a device that cannot be painted on throws IoError.
void paintTableDocument(QPagedPaintDevice& device, const TableDocument& doc);

// The page grid `paintTableDocument` uses on an A4 portrait page with 15 mm margins.
PageGrid a4PageGrid(const TableDocument& doc);

// A4 portrait with 15 mm margins at 600 dpi: the page of every PDF Kelvora writes.
void setUpA4(QPdfWriter& writer);

// The document as PDF bytes: A4 portrait, 15 mm margins, fonts embedded.
QByteArray tableDocumentPdf(const TableDocument& doc);

// Writes the PDF to `path` in one atomic replacement. A table past kMaxDocumentRows
// throws kelvora::Error with the refusal before anything is written; a failed save
// throws IoError and leaves an existing file as it was.
void saveTableDocumentPdf(const std::string& path, const TableDocument& doc);

} // namespace kelvora::output
