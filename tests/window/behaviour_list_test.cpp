#include "form1.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace pelomart {
namespace {

TEST(BehaviourList, TheWheelChoosesOnlyWhileTheListHasTheFocus) {
    struct Row {
        const char* what;
        const char* focused;
        const char* chosen;
    };
    const Row rows[] = {
        {"typing in the internal name", "namn", "No Reaction"},
        {"the list itself", "behavior", "Duck"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        Form1 form(dir.path());
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        auto* list = form.findChild<QComboBox*>("behavior");
        list->setCurrentIndex(list->findText("No Reaction"));
        form.findChild<QWidget*>(row.focused)->setFocus();

        const QPointF centre = list->rect().center();
        QWheelEvent wheel(centre, list->mapToGlobal(centre), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
        EXPECT_EQ(form.text(Control::behavior).toStdString(), row.chosen);
        // Under X11 a turn of the wheel first gives the focus to a control whose policy
        // asks for it; the offscreen platform does not, so the policy is checked here.
        EXPECT_NE(list->focusPolicy() & Qt::WheelFocus, Qt::WheelFocus);
    }
}

} // namespace
} // namespace pelomart
