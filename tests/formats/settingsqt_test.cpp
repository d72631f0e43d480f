// The settings file against Qt's own INI settings: what Qt wrote before reads
// back, and what the IDE writes now Qt reads the same.
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "formats/settingsfile.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SettingsWithQt, ReadsWhatQtWroteAndQtReadsWhatItWrites)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray geometry;
    for (int i = 255; i >= 0; --i)
        geometry += char(i);
    const QStringList paths{QStringLiteral("/a b/c, d;e=f.veskp"), QStringLiteral(" /q\"\\ "),
                            QStringLiteral("/Проект \U0001F600.veskp"), QStringLiteral("/tab\t1")};

    const QString byQt = dir.filePath(QStringLiteral("qt.conf"));
    {
        QSettings qt(byQt, QSettings::IniFormat);
        qt.setValue(QStringLiteral("recentFiles"), paths);
        qt.setValue(QStringLiteral("window/geometry"), geometry);
    }
    const QByteArray qtText = ReadAll(byQt);
    const TSettingsValues read = ParseSettings(std::string_view(qtText.constData(), std::size_t(qtText.size())));
    // The one with a leading blank is not absolute, so it is not a recent file.
    const std::vector<std::u16string> expected{paths[0].toStdU16String(), paths[2].toStdU16String(),
                                               paths[3].toStdU16String()};
    EXPECT_EQ(read.recentFiles, expected);
    EXPECT_EQ(read.geometry, geometry.toStdString());

    TSettingsValues ours;
    for (const QString& path : paths)
        ours.recentFiles.push_back((QStringLiteral("/") + path).toStdU16String());
    ours.geometry = geometry.toStdString();
    ours.state = "state";
    const QString byUs = dir.filePath(QStringLiteral("ours.conf"));
    {
        QFile file(byUs);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string text = SettingsText(ours);
        file.write(text.data(), qsizetype(text.size()));
    }
    QSettings qt(byUs, QSettings::IniFormat);
    QStringList qtPaths;
    for (const std::u16string& path : ours.recentFiles)
        qtPaths << QString::fromStdU16String(path);
    EXPECT_EQ(qt.value(QStringLiteral("recentFiles")).toStringList(), qtPaths);
    EXPECT_EQ(qt.value(QStringLiteral("window/geometry")).toByteArray(), geometry);
    EXPECT_EQ(qt.value(QStringLiteral("window/state")).toByteArray(), QByteArray("state"));
}
