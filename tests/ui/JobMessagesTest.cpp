#include <QStringList>
#include <gtest/gtest.h>

#include "ui/JobMessages.h"

namespace vw::ui {
namespace {

const QString kGap = QStringLiteral("\n\n");

TEST(JobMessageFor, SuccessShowsNothing) {
    EXPECT_FALSE(JobMessageFor(0, QString(), kGap).show);
}

TEST(JobMessageFor, OwnTextsCarryTheMakersTitle) {
    struct Row {
        std::int16_t status;
        MessageIcon icon;
        const char* text;
    };
    for (const Row& row : {Row{4, MessageIcon::Critical, "File non trovato"},
                           Row{6, MessageIcon::Critical, "Il file non contiene dati"},
                           Row{11, MessageIcon::Information, "Elaborazione interrotta"},
                           Row{21, MessageIcon::Information, "Elaborazione interrotta."}}) {
        const JobMessage message = JobMessageFor(row.status, QStringLiteral("ignored"), kGap);
        EXPECT_TRUE(message.show);
        EXPECT_EQ(message.icon, row.icon) << row.status;
        EXPECT_EQ(message.title, QStringLiteral("Lumora")) << row.status;
        EXPECT_EQ(message.text, QString::fromUtf8(row.text)) << row.status;
    }
}

TEST(JobMessageFor, RunTimeFailuresQuoteTheStatusMessage) {
    for (const std::int16_t status : {std::int16_t{12}, std::int16_t{22}}) {
        const JobMessage message = JobMessageFor(status, QStringLiteral("Errore: disk full"), kGap);
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_EQ(message.title, QStringLiteral("Lumora"));
        EXPECT_EQ(message.text,
                  QStringLiteral("Elaborazione non riuscita sul file:\n\nErrore: disk full"));
    }
}

TEST(JobMessageFor, WrongPasswordIsFourLines) {
    const JobMessage message = JobMessageFor(23, QStringLiteral("Errore Generico 3"), kGap);
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.title, QStringLiteral("Lumora"));
    EXPECT_EQ(
        message.text.split(QLatin1Char('\n')),
        QStringList({QStringLiteral("Elaborazione non riuscita:"), QString(),
                     QStringLiteral("- Password errata."), QStringLiteral("o File danneggiato")}));
}

TEST(JobMessageFor, OtherCodesShowTheDriversTextUnderTheApplicationTitle) {
    for (const std::int16_t status :
         {std::int16_t{3}, std::int16_t{5}, std::int16_t{20}, std::int16_t{-1}, std::int16_t{99}}) {
        const JobMessage message = JobMessageFor(status, QStringLiteral("driver text"), kGap);
        EXPECT_TRUE(message.show);
        EXPECT_EQ(message.icon, MessageIcon::Critical);
        EXPECT_TRUE(message.title.isEmpty()) << status;
        EXPECT_EQ(message.text, QStringLiteral("driver text"));
    }
}

} // namespace
} // namespace vw::ui
