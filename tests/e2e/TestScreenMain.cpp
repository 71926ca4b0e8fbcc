// A small app for end-to-end runs of the `chimora` host: a tab bar with a navigation stack
// over a table, and a pushed screen with a label and a button.
#include "host/Chimora.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITableViewController.h"
#include "platform/uikit/UIWindow.h"

#include <memory>
#include <string>

namespace {

constexpr int kRowCount = 40;
constexpr int kLabelTag = 1;
constexpr int kButtonTag = 2;

class DetailController : public UIViewController {
public:
    explicit DetailController(std::string name) : name_(std::move(name)) { setTitle(name_); }

    void viewDidLoad() override {
        view()->setBackgroundColor(UIColor::whiteColor());
        label_ = UILabel::initWithFrame(CGRectMake(20, 120, 280, 30));
        label_->setTag(kLabelTag);
        label_->setText(name_);
        label_->setTextAlignment(UITextAlignmentCenter);
        view()->addSubview(label_);
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setFrame(CGRectMake(60, 200, 200, 44));
        button->setTag(kButtonTag);
        button->setTitle("Set As Current Tone?", UIControlStateNormal);
        button->addTarget(std::static_pointer_cast<DetailController>(shared_from_this()),
                          &DetailController::install, UIControlEventTouchUpInside);
        view()->addSubview(button);
    }

    void install(const std::shared_ptr<UIControl>&) {
        label_->setText("Current Selected");
        platform::deviceHost().runCommand("killall SpringBoard");
    }

private:
    std::string name_;
    std::shared_ptr<UILabel> label_;
};

class ListController : public UITableViewController {
public:
    ListController() { setTitle("Tones"); }

    int numberOfRowsInSection(const std::shared_ptr<UITableView>&, int) override {
        return kRowCount;
    }
    std::shared_ptr<UITableViewCell>
    cellForRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                          const NSIndexPath& indexPath) override {
        auto cell = table->dequeueReusableCellWithIdentifier("tone");
        if (!cell) {
            cell = UITableViewCell::initWithStyle(UITableViewCellStyleSubtitle, "tone");
            cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        }
        const int n = static_cast<int>(indexPath.row()) + 1;
        cell->textLabel()->setText("Tone " + std::to_string(n));
        cell->detailTextLabel()->setText(std::to_string(10 + n) + " KB");
        cell->imageView()->setImage(UIImage::imageNamed("new32"));
        return cell;
    }
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                 const NSIndexPath& indexPath) override {
        auto detail =
            std::make_shared<DetailController>("Tone " + std::to_string(indexPath.row() + 1));
        navigationController()->pushViewController(detail, true);
    }
};

class TestScreenDelegate : public UIApplicationDelegate {
public:
    bool didFinishLaunchingWithOptions(const std::shared_ptr<UIApplication>&,
                                       const Json&) override {
        window_ = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
        window_->setBackgroundColor(UIColor::whiteColor());
        auto list = std::make_shared<ListController>();
        auto tones = UINavigationController::initWithRootViewController(list);
        tones->setTabBarItem(
            UITabBarItem::initWithTitle("Tones", UIImage::imageNamed("home32"), 0));
        auto settings = std::make_shared<UIViewController>();
        settings->setTitle("Setting");
        auto more = UINavigationController::initWithRootViewController(settings);
        more->setTabBarItem(
            UITabBarItem::initWithTitle("Setting", UIImage::imageNamed("setting32"), 1));
        auto tabs = UITabBarController::init();
        tabs->setViewControllers({tones, more});
        window_->setRootViewController(tabs);
        window_->makeKeyAndVisible();
        return true;
    }

private:
    std::shared_ptr<UIWindow> window_;
};

} // namespace

int main(int argc, char** argv) {
    return runChimora(argc, argv, [] { return std::make_shared<TestScreenDelegate>(); });
}
