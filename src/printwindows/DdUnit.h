#pragma once
#include "printwindows/PrintWindow.h"

namespace corvane {

// TDdForm: one waybill: the current sender and the current recipient of the address book.
class TDdForm : public PrintWindow {
    Q_OBJECT
public:
    TDdForm(List* senders, List* recipients, QWidget* parent = nullptr)
        : PrintWindow(PrintWindowKind::Dd, senders, recipients, parent) {}
};

}
