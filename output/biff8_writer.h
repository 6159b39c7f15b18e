#pragma once
// The .xls workbook: an Excel 97–2003 (BIFF8) Workbook stream with the worksheet "容积表"
// and, when the tank's fields are given, "罐体数据" after it, in a compound file. The
// globals are the ones Excel itself writes (fonts, the built-in number formats, the 21
// default XFs and their styles, the sheet's BOUNDSHEETs, the shared strings with their
// EXTSST index); each sheet carries its INDEX, the row blocks with their DBCELL records
// and the window settings.

#include "output/cfb_writer.h"
#include "output/document_model.h"
#include "output/sheet_layout.h"
#include "output/text_sheet.h"

#include <array>
#include <span>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvora::output {

inline constexpr std::uint64_t kXlsMaxRows = 65536;
inline constexpr std::uint64_t kXlsMaxColumns = 256;

// The Workbook stream, in the four pieces it is assembled from.
struct Biff8Stream {
    std::string globals;
    std::string sheetHead; // BOF … DIMENSIONS
    std::string cellTable; // row blocks
    std::string sheetTail; // WINDOW2 … EOF
    std::string tankSheet; // the whole second worksheet, BOF … EOF; empty without one

    std::array<std::string_view, 5> parts() const { return {globals, sheetHead, cellTable, sheetTail, tankSheet}; }
};

inline constexpr std::string_view kTankSheetName = "罐体数据";

// Throws Error, naming the limit and pointing to .xlsx, when the layout needs more rows
// or columns than a BIFF8 sheet has.
void checkXlsLimits(const SheetLayout& layout);

// Builds the Workbook stream in memory (nothing is written anywhere), with the tank's
// label/value pairs in columns A and B of a second sheet when `tank` is not empty. Throws
// Error for a layout beyond the limits or a cell text longer than the 32767 characters a
// cell holds.
// The `extra` sheets follow the tank's, in tankSheet; one with more rows than a sheet has
// throws Error.
Biff8Stream buildBiff8Stream(const SheetLayout& layout, std::span<const DocumentField> tank = {},
                             std::span<const TextSheet> extra = {});

// The whole .xls file: the stream built first, then the compound file written to sink.
void writeXls(const SheetLayout& layout, ByteSink& sink, std::span<const DocumentField> tank = {},
              std::span<const TextSheet> extra = {});

} // namespace kelvora::output
