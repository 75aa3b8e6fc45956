#pragma once
#include <QIcon>

namespace corvane {

// The 48 x 48 pictures of the preview window's ten tool bar buttons, drawn in code.
enum class PreviewIcon { FitPage, FitWidth, Zoom100, FirstPage, PreviousPage, NextPage, LastPage, Setup, Print, Close };

QIcon previewIcon(PreviewIcon icon);

}
