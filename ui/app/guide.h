// The language guide window: in English the README's language section, in
// Russian docs/guide.ru.md, shown from the copies the build puts into the
// program, so it needs no network and no browser.
#pragma once

#include <QWidget>

class QTextBrowser;

// Where the build puts the guides (see ui/CMakeLists.txt).
inline constexpr char kGuideResource[] = ":/vesk/guide.md";
inline constexpr char kRussianGuideResource[] = ":/vesk/guide.ru.md";

class TfGuide final : public QWidget {
    Q_OBJECT
public:
    explicit TfGuide(QWidget* owner);

    // Shows the owner's guide window, made on first use, and brings it to the front.
    static TfGuide* ShowFor(QWidget* owner);

    // The guide's Markdown text in the interface language; empty if the
    // program was built without it.
    [[nodiscard]] static QString Text();
    // One guide's text by its resource.
    [[nodiscard]] static QString Text(const QString& resource);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* mGuideText = nullptr;
};
