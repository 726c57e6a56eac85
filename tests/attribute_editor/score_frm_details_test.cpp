// The details arrangement: every group the design leaves outside the window
// comes into view without overlaps and readable, and switching back restores
// the designed geometry exactly.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <map>

#include "editor_fixture.h"
#include "score_frm.h"

namespace marrowick::test {

class ScoreFrmDetailsTest : public QObject {
    Q_OBJECT

  private:
    struct Place {
        QRect geometry;
        bool hidden;
        bool operator==(const Place&) const = default;
    };
    // Every control of the editor: the window's own children and theirs.
    static std::map<QWidget*, Place> Places(const QWidget* window) {
        std::map<QWidget*, Place> places;
        for (QWidget* control : Controls(window)) {
            places[control] = {control->geometry(), control->isHidden()};
        }
        return places;
    }
    static QList<QWidget*> Controls(const QWidget* window) {
        QList<QWidget*> controls;
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            controls << child;
            if (qobject_cast<QGroupBox*>(child)) {
                controls << child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            }
        }
        return controls;
    }
    static QAction* DetailsAction(const QWidget* window) {
        for (QAction* action : window->actions()) {
            if (action->text() == QStringLiteral("Show details")) {
                return action;
            }
        }
        return nullptr;
    }
    static bool CaptionFits(const QWidget* control) {
        const QFontMetrics metrics = control->fontMetrics();
        QString caption;
        int room = control->width();
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            caption = label->text();
        } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            caption = button->text();
            room -= 6;  // the button's bevel
        } else if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
            // Skill boxes are meant to show only their box.
            if (box->text() == QStringLiteral("Check1")) {
                return control->height() >= box->sizeHint().height() - 4;
            }
            caption = box->text();
            room -= 20;  // the indicator
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
            caption = frame->title();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
            caption = edit->text();
            room -= 4;
        } else {
            return true;
        }
        return metrics.horizontalAdvance(caption) <= room && metrics.height() <= control->height();
    }

  private slots:
    void TheToggleIsInTheContextMenuAndOnCtrlD() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QWidget* w = frm.window();
        QCOMPARE(w->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction* details = DetailsAction(w);
        QVERIFY(details);
        QVERIFY(details->isCheckable());
        QVERIFY(!details->isChecked());
        QCOMPARE(details->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        QVERIFY(w->toolTip().contains(QStringLiteral("Ctrl+D")));

        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(details->isChecked());
        QVERIFY(w->width() > 361 && w->height() > 153);
        QTest::keyClick(w, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(w->size(), QSize(361, 153));
    }

    void DetailsShowEveryGroupTidily() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QWidget* w = frm.window();
        ShowDetails(w);
        const QRect client = w->rect();

        for (const char* name :
             {"Frame1",       "Frame2",     "Frame3(0)",  "Frame3(1)", "Frame4",
              "Label26",      "txtguid(4)", "txtguid(5)", "Command3",  "Command2",
              "Text8",        "Check1(64)", "selfdep",    "Combo2",    "Command1(0)",
              "Command1(15)", "cmdOK",      "cmdCancel",  "Deplimit",  "roomscore"}) {
            QWidget* control = Control<QWidget>(w, QLatin1String(name));
            QVERIFY2(control->isVisible(), name);
            // Wholly inside its container and, through it, inside the window.
            QVERIFY2(control->parentWidget()->rect().contains(control->geometry()), name);
            const QRect inWindow(control->mapTo(w, QPoint(0, 0)), control->size());
            QVERIFY2(client.contains(inWindow), name);
        }
        // The empty frame and the check box outside every group stay out.
        QVERIFY(Control<QWidget>(w, "Frame5")->isHidden());
        QVERIFY(Control<QWidget>(w, "Check1(0)")->isHidden());

        // The keypad is a 4 x 4 grid in digit order.
        const auto key = [w](int i) {
            return Control<QWidget>(w, QStringLiteral("Command1(%1)").arg(i))->geometry();
        };
        const int across = key(1).left() - key(0).left();
        const int down = key(4).top() - key(0).top();
        QVERIFY(across >= key(0).width() && down >= key(0).height());
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(key(i), key(0).translated((i % 4) * across, (i / 4) * down));
        }

        const QList<QWidget*> controls = Controls(w);
        for (QWidget* a : controls) {
            if (a->isHidden()) {
                continue;
            }
            QVERIFY2(CaptionFits(a),
                     qPrintable(a->objectName() + QLatin1Char(' ') +
                                (qobject_cast<QLabel*>(a) ? qobject_cast<QLabel*>(a)->text()
                                                          : QString())));
            for (QWidget* b : controls) {
                if (a != b && !b->isHidden() && a->parentWidget() == b->parentWidget()) {
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + QStringLiteral(" / ") + b->objectName()));
                }
            }
        }
    }

    void SwitchingBackRestoresTheDesign() {
        EditorFixture f;
        f.LoadObject(SampleDefinition());
        ScoreFrm frm(f.parse, f.desktop);
        frm.Open(0, f.EntryText(0));
        QWidget* w = frm.window();
        const auto designed = Places(w);
        ShowDetails(w);
        QVERIFY(Places(w) != designed);
        ShowDetails(w, false);
        QCOMPARE(w->size(), QSize(361, 153));
        const auto restored = Places(w);
        QCOMPARE(restored.size(), designed.size());
        for (const auto& [control, place] : designed) {
            QVERIFY2(restored.at(control).geometry == place.geometry,
                     qPrintable(control->objectName()));
            QCOMPARE(restored.at(control).hidden, place.hidden);
        }
    }
};

}  // namespace marrowick::test

QTEST_MAIN(marrowick::test::ScoreFrmDetailsTest)
#include "score_frm_details_test.moc"
