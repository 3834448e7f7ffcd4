// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every message in the user's language: the catalogues are complete and each translation is
// wholly in its language, and vwx speaks Italian under the Italian and C locales, English under
// others.
#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>

#include "VwxProcess.h"
#include "platform/Translation.h"
#include "tests/support/CoreApplication.h"
#include "tests/support/LanguageWords.h"

namespace vw::test {
namespace {

struct Message {
    QString context, source = {}, translation = {};
    bool finished = true;
};

// The messages of a catalogue's source file, as lupdate writes it.
std::vector<Message> MessagesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<Message> messages;
    QString context;
    for (QXmlStreamReader xml(&file); !xml.atEnd();) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"name") context = xml.readElementText();
        if (xml.name() == u"message") messages.push_back({context});
        if (xml.name() == u"source") messages.back().source = xml.readElementText();
        if (xml.name() == u"translation" || xml.name() == u"numerusform") {
            messages.back().finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            messages.back().translation += xml.readElementText();
        }
    }
    return messages;
}

TEST(Catalogues, EveryTextTranslatedWhollyIntoItsLanguageAndCompiledIn) {
    const test::CoreApplication application;
    const QString folder = QStringLiteral(VW_TRANSLATIONS);
    // The English of everything, and the Italian of vwx's own English texts.
    for (const auto& [ts, qm, english] :
         {std::tuple{folder + "/vaultwise_en.ts", QString(kEnglishCatalogue), true},
          std::tuple{folder + "/vwx_it.ts", QString(kVwxItalianCatalogue), false}}) {
        const std::vector<Message> messages = MessagesOf(ts);
        EXPECT_GT(messages.size(), english ? 250u : 70u);
        QTranslator compiled;
        ASSERT_TRUE(compiled.load(qm)) << qm.toStdString();
        for (const Message& m : messages) {
            SCOPED_TRACE((m.context + ": " + m.source).toStdString());
            EXPECT_TRUE(m.finished && !m.translation.isEmpty());
            EXPECT_FALSE(english ? HoldsItalian(m.translation) : HoldsEnglish(m.translation))
                << m.translation.toStdString();
            const QString shown = compiled.translate(m.context.toUtf8(), m.source.toUtf8());
            EXPECT_EQ(shown, m.translation);
        }
    }
}

// The same mistakes, told by vwx in each language: wholly Italian under Italian and C, wholly
// English under English and any language without a catalogue.
TEST(VwxLanguage, ItalianUnderItalianAndCEnglishUnderOthers) {
    VwxProcess vwx;
    WriteFile(vwx.dir / "a.txt", TextData(100, 1)), WriteFile(vwx.dir / "a.vwx", "x");
    std::filesystem::create_directory(vwx.dir / "sub");
    const std::vector<std::vector<std::string>> mistakes = {{},
                                                            {"--bogus", "a.txt"},
                                                            {"-o"},
                                                            {"-e", "-d", "a.txt"},
                                                            {"gone.txt"},
                                                            {"sub"},
                                                            {"a.txt"},
                                                            {"-o", "sub", "a.txt"},
                                                            {"--store-private-code", "a.txt"},
                                                            {"--password-file", "nope", "a.txt"}};
    // What each mistake is told, in each language.
    std::map<std::string, std::vector<std::string>> told;
    for (const std::string language : {"it_IT.UTF-8", "C", "en_GB.UTF-8", "de_DE"}) {
        vwx.language = language;
        const bool italian = language == "C" || language.starts_with("it");
        for (const std::vector<std::string>& args : mistakes) {
            SCOPED_TRACE(language + " " + ::testing::PrintToString(args));
            const RunResult r = vwx.Run(args, "");
            EXPECT_NE(r.status, 0);
            EXPECT_FALSE(r.err.empty());
            EXPECT_FALSE(italian ? HoldsEnglish(QString::fromStdString(r.err))
                                 : HoldsItalian(QString::fromStdString(r.err)))
                << r.err;
            told[language].push_back(r.err);
        }
        const RunResult help = vwx.Run({"--help"}, "");
        EXPECT_FALSE(italian ? HoldsEnglish(QString::fromStdString(help.out))
                             : HoldsItalian(QString::fromStdString(help.out)));
        told[language].push_back(help.out);
    }
    // C speaks Italian, a language without a catalogue English, and the two differ throughout.
    EXPECT_EQ(told["C"], told["it_IT.UTF-8"]);
    EXPECT_EQ(told["de_DE"], told["en_GB.UTF-8"]);
    for (std::size_t i = 0; i < told["C"].size(); ++i)
        EXPECT_NE(told["C"][i], told["de_DE"][i]) << told["C"][i];
}

} // namespace
} // namespace vw::test
