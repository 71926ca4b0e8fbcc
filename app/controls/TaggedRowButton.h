#pragma once
// A glossy row button that remembers the index path of the row it was last filled for, so
// its action can tell which row was tapped.
#include "platform/foundation/NSIndexPath.h"
#include "platform/kits/GlossyButton.h"

#include <memory>
#include <optional>

class TaggedRowButton : public GlossyButton {
public:
    using GlossyButton::GlossyButton;
    static std::shared_ptr<TaggedRowButton> initWithFrame(CGRect frame) {
        return std::make_shared<TaggedRowButton>(frame);
    }

    const std::optional<NSIndexPath>& mIndexPath() const { return mIndexPath_; }
    void setMIndexPath(std::optional<NSIndexPath> indexPath) { mIndexPath_ = indexPath; }

    std::string className() const override { return "TaggedRowButton"; }

private:
    std::optional<NSIndexPath> mIndexPath_;
};
