// The language guide window: the README's language section, shown from the
// copy the build puts into the program, so it needs no network and no browser.
#pragma once

#include <QWidget>

class QTextBrowser;

// Where the build puts the guide (see ui/CMakeLists.txt).
inline constexpr char kGuideResource[] = ":/vesk/guide.md";

class TfGuide final : public QWidget {
    Q_OBJECT
public:
    explicit TfGuide(QWidget* owner);

    // Shows the owner's guide window, made on first use, and brings it to the front.
    static TfGuide* ShowFor(QWidget* owner);

    // The guide's Markdown text; empty if the program was built without it.
    [[nodiscard]] static QString Text();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* mGuideText = nullptr;
};
