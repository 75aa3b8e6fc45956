#pragma once
#include "printwindows/PrintWindow.h"

namespace corvane {

// TPdForm: a batch: one waybill for every row of inr, all with the current sender.
class TPdForm : public PrintWindow {
    Q_OBJECT
public:
    explicit TPdForm(List* senders, QWidget* parent = nullptr)
        : PrintWindow(PrintWindowKind::Pd, senders, nullptr, parent) {}
};

}
