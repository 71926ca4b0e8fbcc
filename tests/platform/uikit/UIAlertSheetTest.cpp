#include "platform/uikit/UIActionSheet.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

struct AlertRecorder : UIAlertViewDelegate, UIActionSheetDelegate {
    std::vector<std::string> log;
    void clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& a, int i) override {
        log.push_back("alert click " + std::to_string(a->tag()) + ":" + std::to_string(i) +
                      (a->isVisible() ? " visible" : " gone"));
    }
    void didDismissWithButtonIndex(const std::shared_ptr<UIAlertView>& a, int i) override {
        log.push_back("alert dismissed " + std::to_string(i) + (a->isVisible() ? " visible" : ""));
    }
    void clickedButtonAtIndex(const std::shared_ptr<UIActionSheet>& s, int i) override {
        log.push_back("sheet click " + std::to_string(s->tag()) + ":" + std::to_string(i));
    }
    void didDismissWithButtonIndex(const std::shared_ptr<UIActionSheet>&, int i) override {
        log.push_back("sheet dismissed " + std::to_string(i));
    }
};

using Log = std::vector<std::string>;

class ModalTest : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->makeKeyAndVisible();
        under = UIButton::initWithFrame(window->bounds());
        window->addSubview(under);
        rec = std::make_shared<AlertRecorder>();
    }
    // Taps the middle of a view, as a finger on the screen would.
    void tapView(const std::shared_ptr<UIView>& v) {
        ASSERT_TRUE(v);
        CGRect r = v->convertRectToView(v->bounds(), nullptr);
        CGPoint p = CGPointMake(r.midX(), r.midY());
        window->sendTouch(UITouchPhaseBegan, p);
        window->sendTouch(UITouchPhaseEnded, p);
    }
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIButton> under;
    std::shared_ptr<AlertRecorder> rec;
};

TEST_F(ModalTest, AlertIndexesCancelFirst) {
    auto alert = UIAlertView::initWithTitle("Notice", "msg", rec, std::string("Later"),
                                            {"Respring now", "Third"});
    EXPECT_EQ(alert->numberOfButtons(), 3);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Respring now");
    EXPECT_EQ(alert->buttonTitleAtIndex(3), "");
    auto noCancel = UIAlertView::initWithTitle("T", "", rec, std::nullopt, {"A"});
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_EQ(noCancel->buttonTitleAtIndex(0), "A");
}

TEST_F(ModalTest, TappingAnAlertButtonTellsTheDelegateThenDismisses) {
    auto alert = UIAlertView::initWithTitle("Notice", "Respring your device?", rec,
                                            std::string("Reboot myself later"), {"Respring now"});
    alert->setTag(106);
    alert->show();
    ASSERT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->window(), window.get());
    // Two buttons stand side by side, cancel on the left.
    auto cancel = alert->buttonAtIndex(0);
    auto other = alert->buttonAtIndex(1);
    ASSERT_TRUE(cancel && other);
    CGRect c = cancel->convertRectToView(cancel->bounds(), nullptr);
    CGRect o = other->convertRectToView(other->bounds(), nullptr);
    EXPECT_LT(c.maxX(), o.minX() + 1);
    EXPECT_DOUBLE_EQ(c.minY(), o.minY());
    EXPECT_NEAR(o.maxX() - c.minX(), 270, 0.01);

    tapView(other);
    EXPECT_EQ(rec->log, (Log{"alert click 106:1 visible", "alert dismissed 1"}));
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(alert->superview(), nullptr);
    EXPECT_TRUE(window->overlays().empty());
}

TEST_F(ModalTest, AlertBlocksTouchesToViewsBelow) {
    struct Counter {
        int taps = 0;
        void tapped() { ++taps; }
    };
    auto counter = std::make_shared<Counter>();
    under->addTarget(counter, &Counter::tapped, UIControlEventTouchUpInside);
    auto alert = UIAlertView::initWithTitle("T", "M", rec, std::string("OK"));
    alert->show();
    window->sendTouch(UITouchPhaseBegan, CGPointMake(5, 5)); // outside the box
    window->sendTouch(UITouchPhaseEnded, CGPointMake(5, 5));
    EXPECT_EQ(counter->taps, 0);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_TRUE(rec->log.empty());
    tapView(alert->buttonAtIndex(0));
    EXPECT_EQ(rec->log, (Log{"alert click 0:0 visible", "alert dismissed 0"}));
    tapView(under);
    EXPECT_EQ(counter->taps, 1);
}

TEST_F(ModalTest, StackedButtonsPutCancelAtTheBottom) {
    auto alert = UIAlertView::initWithTitle("T", "M", rec, std::string("Cancel"), {"A", "B"});
    alert->show();
    auto cancel = alert->buttonAtIndex(0);
    auto a = alert->buttonAtIndex(1);
    auto b = alert->buttonAtIndex(2);
    ASSERT_TRUE(cancel && a && b);
    EXPECT_LT(a->frame().minY(), b->frame().minY());
    EXPECT_LT(b->frame().minY(), cancel->frame().minY());
    EXPECT_EQ(a->frame().size.width, 270);
    tapView(b);
    EXPECT_EQ(rec->log, (Log{"alert click 0:2 visible", "alert dismissed 2"}));
}

TEST_F(ModalTest, ProgrammaticDismissSkipsTheClick) {
    auto alert = UIAlertView::initWithTitle("T", "M", rec, std::string("Cancel"));
    alert->show();
    alert->dismissWithClickedButtonIndex(0, false);
    alert->dismissWithClickedButtonIndex(0, false); // a second time does nothing
    EXPECT_EQ(rec->log, (Log{"alert dismissed 0"}));
}

TEST_F(ModalTest, DelegateThatIsGoneIsNotCalled) {
    auto alert = UIAlertView::initWithTitle("T", "M", rec, std::string("Cancel"));
    alert->show();
    rec.reset();
    tapView(alert->buttonAtIndex(0));
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(ModalTest, ActionSheetIndexOrderDestructiveOthersCancel) {
    auto sheet = UIActionSheet::initWithTitle("", rec, std::string("Cancel"), std::string("Delete"),
                                              {"One", "Two"});
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "One");
    EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Two");
    EXPECT_EQ(sheet->cancelButtonIndex(), 3);
    EXPECT_EQ(sheet->numberOfButtons(), 4);
    EXPECT_EQ(sheet->firstOtherButtonIndex(), 1);
}

TEST_F(ModalTest, ActionSheetBuiltByAddingButtonsReportsTappedIndex) {
    // The sharing list's way: no buttons at creation, a cancel button added last.
    auto sheet = UIActionSheet::initWithTitle("", rec, std::nullopt, std::nullopt);
    sheet->setTag(1012);
    for (const char* name : {"Facebook", "Twitter", "Sina Weibo"}) {
        sheet->addButtonWithTitle(name);
    }
    sheet->setCancelButtonIndex(sheet->addButtonWithTitle("Cancel"));
    auto tabBar = UIView::initWithFrame(CGRectMake(0, 519, 320, 49));
    window->addSubview(tabBar);
    sheet->showFromTabBar(tabBar);
    ASSERT_TRUE(sheet->isVisible());
    auto cancel = sheet->buttonAtIndex(3);
    auto twitter = sheet->buttonAtIndex(1);
    ASSERT_TRUE(cancel && twitter);
    CGRect c = cancel->convertRectToView(cancel->bounds(), nullptr);
    EXPECT_NEAR(c.maxY(), 568 - 8, 0.01); // the cancel button stands alone at the bottom
    EXPECT_EQ(twitter->currentTitle(), "Twitter");
    tapView(twitter);
    EXPECT_EQ(rec->log, (Log{"sheet click 1012:1", "sheet dismissed 1"}));
    EXPECT_FALSE(sheet->isVisible());
    rec->log.clear();
    sheet->showInView(under);
    tapView(sheet->buttonAtIndex(3));
    EXPECT_EQ(rec->log, (Log{"sheet click 1012:3", "sheet dismissed 3"}));
}

TEST_F(ModalTest, AlertDumpShowsTitleMessageAndButtonTitles) {
    auto alert = UIAlertView::initWithTitle("Notice", "Body", rec, std::string("OK"));
    alert->show();
    Json dump = window->dumpTree();
    const auto& children = dump.get("children")->items();
    ASSERT_FALSE(children.empty());
    const Json& top = children.back();
    EXPECT_EQ(top.get("class")->asString(), "UIAlertView");
    EXPECT_EQ(top.get("title")->asString(), "Notice");
    EXPECT_EQ(top.get("message")->asString(), "Body");
    EXPECT_NE(dump.serialize().find(R"("title":"OK")"), std::string::npos);
}

} // namespace
