// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The English catalogue: no window of the desktop program keeps an Italian text under it, and
// the locale picks the catalogue.
#include <QXmlStreamReader>

#include "UiTestSupport.h"
#include "engine/job/StatusCodes.h"
#include "platform/JobText.h"
#include "platform/Translation.h"
#include "ui/InfoWindows.h"
#include "ui/JobMessages.h"
#include "ui/PanelRules.h"
#include "ui/PropertiesWindow.h"

namespace vw::ui::test {
namespace {

// The catalogue's source texts whose translation differs from them; every entry is finished.
QSet<QString> ItalianTexts() {
    QFile file(QStringLiteral(VW_ENGLISH_TS));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QSet<QString> texts;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"source") source = xml.readElementText();
        if (xml.name() != u"translation") continue;
        EXPECT_NE(xml.attributes().value("type"_L1), "unfinished"_L1) << source.toStdString();
        if (xml.readElementText() != source) texts.insert(source);
    }
    EXPECT_GT(texts.size(), 50);
    return texts;
}

// Every text a window shows: titles, tooltips, labels, buttons, menu entries and list items, and
// the names and descriptions assistive tools read.
QStringList ShownTexts(const QWidget* root) {
    QStringList texts;
    const QList<const QObject*> objects = root->findChildren<const QObject*>() << root;
    for (const QObject* object : objects)
        for (const char* property :
             {"windowTitle", "toolTip", "text", "title", "accessibleName", "accessibleDescription"})
            texts << object->property(property).toString();
    for (const QListWidget* list : root->findChildren<QListWidget*>())
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
    return texts;
}

class EnglishProgram : public ProgramFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(english.load(QString::fromLatin1(kEnglishCatalogue)));
        QCoreApplication::installTranslator(&english);
        ProgramFixture::SetUp();
    }
    void TearDown() override {
        ProgramFixture::TearDown();
        QCoreApplication::removeTranslator(&english);
    }
    QTranslator english;
};

TEST_F(EnglishProgram, NoWindowKeepsAnItalianText) {
    const QSet<QString> italian = ItalianTexts();
    start();
    select(file(u"notes.vwx"_s, "x"));
    const std::unique_ptr<QWidget> windows[] = {
        std::unique_ptr<QWidget>(CreateOptionsWindow({}, nullptr)),
        std::unique_ptr<QWidget>(CreateHelpTopicsWindow(nullptr)),
        std::unique_ptr<QWidget>(CreateAboutWindow(nullptr)),
        std::make_unique<PropertiesWindow>(state().selectedPath)};
    QStringList shown = ShownTexts(&main()) + ShownTexts(&program->keyDialog());
    for (const auto& window : windows)
        shown += ShownTexts(window.get());
    for (const QString& text : shown)
        EXPECT_FALSE(italian.contains(text)) << text.toStdString();
    EXPECT_TRUE(shown.contains(u"Open"_s) && shown.contains(u"Help Topics"_s));

    // The job messages, the engine's texts in them included.
    for (const int status : {1, 2, 3, 4, 5, 6, 10, 11, 12, 20, 21, 22, 23, 30, 33}) {
        const auto code = static_cast<std::int16_t>(status);
        const Failure full{Fault::OutputWrite, "/tmp/out.vwx", {}, ENOSPC};
        const QString text = JobMessageFor(code, StatusMessageOf(code, full), u"\n\n"_s).text;
        for (const QString& source : italian)
            EXPECT_FALSE(source.size() > 5 && text.contains(source)) << text.toStdString();
    }
    EXPECT_EQ(PasswordRefusal(u"ab\u0100"_s, u"ab\u0100"_s),
              u"The password contains characters that are not allowed: U+0100"_s);
}

// The locale's language, as the environment gives it, picks the catalogue. Qt reads the
// locale once per process, so each row runs the test in a process of its own.
TEST(TranslationRule, LocalePicksTheCatalogue) {
    if (qEnvironmentVariableIsSet("VW_EXPECT_ENGLISH")) {
        const bool english = qEnvironmentVariableIntValue("VW_EXPECT_ENGLISH") == 1;
        EXPECT_EQ(InstallTranslation(false), english ? Catalogue::English : Catalogue::Italian);
        EXPECT_EQ(JobMessageFor(4, {}, {}).text,
                  english ? u"File not found"_s : u"File non trovato"_s);
        return;
    }
    const std::pair<const char*, bool> rows[] = {
        {"LANGUAGE=it", false},       {"LANG=C", false},         {"LANG=en_US.UTF-8", true},
        {"LANG=de_DE.UTF-8", true},   {"LANGUAGE=fr:it", false}, {"LANGUAGE=de:en:it", true},
        {"LC_ALL=it_IT.UTF-8", false}};
    for (const auto& [setting, english] : rows) {
        QProcessEnvironment environment;
        environment.insert(u"VW_EXPECT_ENGLISH"_s, english ? u"1"_s : u"0"_s);
        const QStringList parts = QString::fromLatin1(setting).split(u'=');
        environment.insert(parts[0], parts[1]);
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--gtest_filter=TranslationRule.LocalePicksTheCatalogue"_s});
        EXPECT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitCode(), 0) << setting << '\n' << child.readAll().toStdString();
    }
}

} // namespace
} // namespace vw::ui::test
