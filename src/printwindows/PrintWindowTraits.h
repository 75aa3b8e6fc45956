#pragma once
#include "templates/PrintWindowKind.h"

namespace corvane {

// Where a window's recipient slots read their row.
enum class RecipientSource { MainRecipients, MainImport, OwnQuery };

// Everything in which the four print windows differ.
struct PrintWindowTraits {
    PrintWindowKind kind;
    const char* className;        // "TDdForm"
    const char* unitName;         // "DdUnit"
    RecipientSource recipients;
    const char* ownStatement;     // the batch query, or nullptr
    const char* previewCaption;   // "单张预览" / "批量预览"
    int clientWidth;
    int pageControlHeight;
    int closeButtonX;

    bool batch() const { return recipients == RecipientSource::OwnQuery; }
};

const PrintWindowTraits& printWindowTraits(PrintWindowKind kind);

}
