// The up-down arrows and the keys and wheel of a number field.

#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"
#include "ui/controls/NumberSpin.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

struct Input {
    enum Kind { UpKey, DownKey, Wheel, UpArrow, DownArrow } kind;
    int angleDelta = 0;
};

TEST(NumberSpin, ArrowsKeysAndWheelReachTheOwnerAsOptionsSay) {
    test::ScriptedServices services;
    const NumberSpin::Options fieldOnly{.arrowKeys = false, .wheelNeedsFocus = false};
    struct Row {
        const char* name;
        NumberSpin::Options options;
        bool focused;
        Input input;
        std::vector<int> steps;
        std::vector<int> wheel;
    };
    const std::vector<Row> rows = {
        {"up arrow", {}, false, {Input::UpArrow}, {1}, {}},
        {"down arrow", {}, false, {Input::DownArrow}, {-1}, {}},
        {"Up key", {}, true, {Input::UpKey}, {1}, {}},
        {"Down key", {}, true, {Input::DownKey}, {-1}, {}},
        {"keys off", fieldOnly, true, {Input::UpKey}, {}, {}},
        {"wheel on the focused field", {}, true, {Input::Wheel, 240}, {}, {240}},
        {"wheel on an unfocused field", {}, false, {Input::Wheel, 240}, {}, {}},
        {"wheel without focus allowed", fieldOnly, false, {Input::Wheel, -120}, {}, {-120}},
    };
    for (const Row& row : rows) {
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* other = new QLineEdit(&window);
        std::vector<int> steps;
        std::vector<int> wheel;
        auto* spin = new NumberSpin(
            field, [&](int n) { steps.push_back(n); }, [&](int delta) { wheel.push_back(delta); }, row.options,
            &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(spin);
        window.show();
        QApplication::setActiveWindow(&window);
        (row.focused ? field : other)->setFocus();
        ASSERT_EQ(field->hasFocus(), row.focused) << row.name;

        switch (row.input.kind) {
        case Input::UpKey: QTest::keyClick(field, Qt::Key_Up); break;
        case Input::DownKey: QTest::keyClick(field, Qt::Key_Down); break;
        case Input::UpArrow: QTest::mouseClick(spin->upButton(), Qt::LeftButton); break;
        case Input::DownArrow: QTest::mouseClick(spin->downButton(), Qt::LeftButton); break;
        case Input::Wheel: {
            QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, row.input.angleDelta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(field, &event);
            break;
        }
        }
        EXPECT_EQ(steps, row.steps) << row.name;
        EXPECT_EQ(wheel, row.wheel) << row.name;
    }
}

TEST(NumberSpin, NotchesCountWholeNotchesTowardZero) {
    EXPECT_EQ(NumberSpin::Notches(119), 0);
    EXPECT_EQ(NumberSpin::Notches(240), 2);
    EXPECT_EQ(NumberSpin::Notches(-359), -2);
}

}  // namespace
}  // namespace orv
