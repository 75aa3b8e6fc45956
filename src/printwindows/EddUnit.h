#pragma once
#include "printwindows/PrintWindow.h"

namespace corvane {

// TEddForm: one waybill: the current sender and the current row of the import list.
class TEddForm : public PrintWindow {
    Q_OBJECT
public:
    TEddForm(List* senders, List* importRows, QWidget* parent = nullptr)
        : PrintWindow(PrintWindowKind::Edd, senders, importRows, parent) {}
};

}
