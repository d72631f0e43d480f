// The About window.
#pragma once

#include <QDialog>

class QLabel;

class TfAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfAbout(QWidget* parent = nullptr);
    void SetVersion(const QString& version);   // "Версия: " + version
    void SetWebSite(const QString& address);   // "Подробнее: " + address

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateLogo();
    void CreateTexts();
    void CreateButtons();
    void CentreOverParent();

    QLabel* lVersion = nullptr;
    QLabel* lSite = nullptr;
};
