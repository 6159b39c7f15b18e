#pragma once
// "导出PDF…" and "打印…" of the "容积表" page: the capacity-table document of the table
// just generated, saved as an A4 PDF or sent to a printer, one layout for both
// (output/table_document). A table past the document's limit gets its message before any
// dialog; a file that cannot be written or a printer that fails throws for the general
// error report.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"
#include "ui/window_services.h"

namespace kelvora::ui {

class TableDocumentActions {
public:
    explicit TableDocumentActions(WindowServices& services) : services_(services) {}

    // The table of `rows`, generated from the description `d` of `inputs`.
    void exportPdf(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                   const capacity::RowList& rows);
    void print(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
               const capacity::RowList& rows);

private:
    bool refused(const capacity::RowList& rows);

    WindowServices& services_;
};

} // namespace kelvora::ui
