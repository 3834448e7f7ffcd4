#include <gtest/gtest.h>

#include "ui/JobMessages.h"

namespace vw::ui {
namespace {

const QString kGap = QStringLiteral("\n\n");

TEST(JobMessageFor, EachStatusGetsItsIconTitleAndText) {
    EXPECT_FALSE(JobMessageFor(0, QString(), kGap).show);
    const QString lumora = QStringLiteral("Lumora");
    struct Row {
        std::int16_t status;
        MessageIcon icon;
        QString title;
        QString text;
    };
    // Own texts under the maker's title; run-time failures quote the status message; other
    // codes show the driver's text under the application title.
    const QString failed = QStringLiteral("Elaborazione non riuscita sul file:\n\ndriver text");
    for (const Row& row :
         {Row{4, MessageIcon::Critical, lumora, QStringLiteral("File non trovato")},
          Row{6, MessageIcon::Critical, lumora, QStringLiteral("Il file non contiene dati")},
          Row{11, MessageIcon::Information, lumora, QStringLiteral("Elaborazione interrotta")},
          Row{21, MessageIcon::Information, lumora, QStringLiteral("Elaborazione interrotta.")},
          Row{12, MessageIcon::Critical, lumora, failed},
          Row{22, MessageIcon::Critical, lumora, failed},
          Row{23, MessageIcon::Critical, lumora,
              QStringLiteral(
                  "Elaborazione non riuscita:\n\n- Password errata.\no File danneggiato")},
          Row{3, MessageIcon::Critical, QString(), QStringLiteral("driver text")},
          Row{5, MessageIcon::Critical, QString(), QStringLiteral("driver text")},
          Row{20, MessageIcon::Critical, QString(), QStringLiteral("driver text")},
          Row{-1, MessageIcon::Critical, QString(), QStringLiteral("driver text")},
          Row{99, MessageIcon::Critical, QString(), QStringLiteral("driver text")}}) {
        SCOPED_TRACE(row.status);
        const JobMessage message = JobMessageFor(row.status, QStringLiteral("driver text"), kGap);
        EXPECT_TRUE(message.show);
        EXPECT_EQ(message.icon, row.icon);
        EXPECT_EQ(message.title, row.title);
        EXPECT_EQ(message.text, row.text);
    }
}

} // namespace
} // namespace vw::ui
