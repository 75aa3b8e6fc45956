#pragma once
#include "printwindows/PrintWindow.h"

namespace corvane {

// TPedForm: a batch: one waybill for every row of excel, all with the current sender.
class TPedForm : public PrintWindow {
    Q_OBJECT
public:
    explicit TPedForm(List* senders, QWidget* parent = nullptr)
        : PrintWindow(PrintWindowKind::Ped, senders, nullptr, parent) {}
};

}
