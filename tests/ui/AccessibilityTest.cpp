// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive tools see: every window's controls walked through QAccessible, in Italian and
// in English.
#include "UiTestSupport.h"
#include "platform/Translation.h"
#include "ui/InfoWindows.h"
#include "ui/PropertiesWindow.h"
#include "ui/ProtectedPictureView.h"
#include "ui/QuickView.h"

namespace vw::ui::test {
namespace {

// The roles of the controls whose kind Qt cannot tell from their class.
const std::pair<const char*, QAccessible::Role> kRoles[] = {
    {"Picture3", QAccessible::Button},
    {"Picture4", QAccessible::Button},
    {"Picture2", QAccessible::Button},
    {"imgIcon", QAccessible::Button},
    {"Picture1", QAccessible::Link},
    {"Panel2", QAccessible::Link},
    {"txtCode", QAccessible::EditableText},
    {"txtConfirm", QAccessible::EditableText},
    {"ProgressBar1", QAccessible::ProgressBar},
    {"chkPCM", QAccessible::CheckBox}};

// Roles no control that takes the focus may show: a reader would say "image" or nothing.
bool Inert(QAccessible::Role role) {
    return role == QAccessible::NoRole || role == QAccessible::Client ||
           role == QAccessible::Graphic;
}

// Walks node's visible subtree: every control that takes the focus, or has a role in kRoles,
// has a name and a role that works; the names of the controls in kRoles are gathered.
void Walk(QAccessibleInterface* node, QStringList& faults, QMap<QString, QString>& names) {
    if (!node || node->state().invisible) return;
    auto* widget = qobject_cast<QWidget*>(node->object());
    const QString name = node->text(QAccessible::Name).trimmed();
    const QString id = widget ? widget->objectName() : QString();
    const QString what = id + u" ("_s + (widget ? widget->metaObject()->className() : "") + u")"_s;
    if (widget && !widget->isWindow() && (widget->focusPolicy() & Qt::TabFocus) &&
        (name.isEmpty() || Inert(node->role())))
        faults << what + u" takes the focus with name \""_s + name + u"\" and role "_s +
                      QString::number(node->role());
    for (const auto& [object, role] : kRoles) {
        if (id != QLatin1String(object)) continue;
        names[id] = name;
        if (node->role() != role || name.isEmpty())
            faults << what + u" is role "_s + QString::number(node->role()) + u" named \""_s +
                          name + u"\""_s;
    }
    for (int i = 0; i < node->childCount(); ++i)
        Walk(node->child(i), faults, names);
}

class AccessibilityTest : public ProgramFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(AccessibilityTest, EveryControlHasANameAndTheRoleOfItsKind) {
    QTranslator english;
    if (GetParam()) {
        ASSERT_TRUE(english.load(QString::fromLatin1(kEnglishCatalogue)));
        QCoreApplication::installTranslator(&english);
    }
    StorePrivateCode("pcm-code"); // "Use PCM" shows
    start();
    const QString picture = pathOf(u"foto.bmp"_s);
    QImage(40, 20, QImage::Format_RGB32).save(picture);
    select(picture);
    program->commands().ShowQuickView();
    auto* protectedView = new ProtectedPictureView(&main());
    protectedView->showPicture(QImage(30, 10, QImage::Format_RGB32), u"segreto.png"_s);
    KeyDialog& key = program->keyDialog();
    key.show();
    Child<QLineEdit>(&key, "txtCode")->setText(u"Abcd1!"_s);
    progress().show();
    // The others are main()'s children, closed with it.
    const QList<QWidget*> windows = {&main(),
                                     &key,
                                     &progress(),
                                     program->commands().quickView(),
                                     protectedView,
                                     CreateOptionsWindow({}, &main()),
                                     CreateHelpTopicsWindow(&main()),
                                     CreateAboutWindow(&main()),
                                     new PropertiesWindow(picture, &main())};
    QStringList faults;
    QMap<QString, QString> names;
    for (QWidget* window : windows) {
        window->show();
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
        ASSERT_TRUE(root) << window->objectName().toStdString();
        if (root->text(QAccessible::Name).isEmpty()) faults << window->objectName() + u" unnamed"_s;
        Walk(root, faults, names);
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    EXPECT_EQ(names.size(), std::size(kRoles)); // every one of them was found
    // The meter is named by the label before it (as the boxes are) and tells its value.
    QAccessibleInterface* meter =
        QAccessible::queryAccessibleInterface(Child<QWidget>(&key, "ProgressBar1"));
    EXPECT_EQ(
        std::tuple(meter->text(QAccessible::Name), meter->valueInterface()->currentValue()),
        std::tuple(QCoreApplication::translate("vw::ui::KeyDialog", "Key Quality"), QVariant(46)));
    // A picture button is pressed as buttons are.
    auto opened = Spy(&main(), &MainWindow::selectFileRequested);
    QAccessible::queryAccessibleInterface(Child<QWidget>(&main(), "Picture3"))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(*opened, 1);
    progress().hide();
    key.hide();
    if (GetParam()) QCoreApplication::removeTranslator(&english);
}

INSTANTIATE_TEST_SUITE_P(ItalianAndEnglish, AccessibilityTest, ::testing::Bool());

} // namespace
} // namespace vw::ui::test
