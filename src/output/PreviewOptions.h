#pragma once

namespace corvane {

enum class PreviewZoom { FitPage, FitWidth, Zoom100 };

// The report page's options for its preview window.
struct PreviewOptions {
    PreviewZoom PrevInitialZoom = PreviewZoom::FitPage;
    bool PreviewInitialStateMaximized = false; // normal window
    bool PrevFormStyleStayOnTop = false;       // normal window
    int PreviewWidth = 500;
    int PreviewHeight = 500;
    bool PrevShowThumbs = true;
    bool PrevShowSearch = true;
};

}
