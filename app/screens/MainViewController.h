#pragma once
// The home page: one page for the whole run, made on first use with its title.
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <string>

class ToneListController;

class MainViewController : public UIViewController {
public:
    // The same page on every call; the title is the one given on the first.
    static std::shared_ptr<MainViewController> sharedWithTitle(const std::string& title);

    MainViewController() = default; // use sharedWithTitle

    // For now the page is the newest tones' list alone, made with the page so that it
    // loads at the first activation.
    const std::shared_ptr<ToneListController>& newestList() const { return newestList_; }

    void loadView() override;
    void viewDidLoad() override;

protected:
    std::shared_ptr<UIViewController> appearanceChild() const override;
    void layoutContainer() override;

private:
    std::shared_ptr<ToneListController> newestList_;
};
