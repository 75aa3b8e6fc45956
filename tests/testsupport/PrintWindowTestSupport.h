#pragma once
#include "printwindows/FontDialog.h"
#include "printwindows/PrintWindow.h"

#include <QList>
#include <QPicture>
#include <functional>
#include <memory>

namespace corvane::test {

// Runs `inside` while the window is open in its modal loop (opened by `open`), then closes it
// with 关闭窗口 whatever `inside` did; returns whether the window was seen open.
bool whileOpen(PrintWindow& window, const std::function<void()>& open,
               const std::function<void(PrintWindow&)>& inside);

// Presses the preview button of an open window and gives the pages of the preview once the
// layout has finished; the preview window is then closed by its 关 闭 button (told through
// closedByItsButton), or else directly, so the click returns.
QList<std::shared_ptr<QPicture>> previewPages(PrintWindow& window, bool* closedByItsButton = nullptr);

// How many pictures and images a recorded page draws.
int picturesDrawn(const QPicture& page);

// FontDialog1 answered by the test: confirms `font` and `colour`, or cancels.
class ScriptedFontChooser : public FontChooser {
public:
    bool choose(QWidget*, QFont& font, QColor& colour) override
    {
        offered << font;
        if (!confirm)
            return false;
        font = answer;
        colour = answerColour;
        return true;
    }
    bool confirm = true;
    QFont answer;
    QColor answerColour = Qt::black;
    QList<QFont> offered;
};

}
