#pragma once
#include <QString>

namespace corvane {

// A report page's `PrinterSettings`; changed only by the printer setup dialog.
struct PrinterSettings {
    static constexpr int DefaultPrinter = -1;
    static constexpr int AutomaticBin = 7; // DMBIN_AUTO

    int Copies = 1;
    int FirstPage = 0; // 0 and 0: all pages
    int LastPage = 0;
    int PrinterIndex = DefaultPrinter;
    int OutputBin = AutomaticBin;
    bool Duplex = false;
    int PrintQuality = 0;
    int Collate = 0;
    int ColorOption = 0;
    // Set when "print to file" was chosen in the setup dialog: the job goes to this PDF file.
    QString OutputFileName;

    bool pageInRange(int page) const
    {
        return (FirstPage <= 0 || page >= FirstPage) && (LastPage <= 0 || page <= LastPage);
    }
};

}
