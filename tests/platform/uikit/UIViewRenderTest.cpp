#include "platform/render/Canvas.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// Records the drawing calls as short strings, with the translation in force.
class RecordingCanvas : public render::Canvas {
public:
    std::vector<std::string> calls;
    double scale() const override { return 1; }
    void save() override {
        stack_.push_back({tx_, ty_});
        calls.push_back("save");
    }
    void restore() override {
        std::tie(tx_, ty_) = stack_.back();
        stack_.pop_back();
        calls.push_back("restore");
    }
    void translate(double dx, double dy) override {
        tx_ += dx;
        ty_ += dy;
    }
    void clipRect(const render::Rect& r, double radius) override { add("clip", r, radius); }
    void beginGroup() override { calls.push_back("group"); }
    void endGroup(double alpha) override { calls.push_back("endGroup " + num(alpha)); }
    void fillRect(const render::Rect& r, const render::Color&, double radius) override {
        add("fill", r, radius);
    }
    void strokeRect(const render::Rect& r, const render::Color&, double w, double) override {
        add("stroke", r, w);
    }
    void fillGradient(const render::Rect& r, const render::Color& top, const render::Color&,
                      double radius) override {
        add("gradient", r, radius);
    }
    void drawShadow(const render::Rect& r, double radius, const render::Color&, double dx,
                    double dy, double, double) override {
        add("shadow", r, radius);
    }
    void drawLine(double, double, double, double, const render::Color&, double) override {
        calls.push_back("line");
    }
    void fillCircle(double, double, double, const render::Color&) override {
        calls.push_back("circle");
    }
    void drawText(std::string_view text, const render::Rect& r, const render::Font&,
                  const render::Color&, render::TextAlign, render::LineBreak, int) override {
        calls.push_back("text " + std::string(text) + " at " + num(tx_ + r.x) + "," +
                        num(ty_ + r.y));
    }
    void drawImage(const render::Bitmap&, const render::Rect&) override {
        calls.push_back("image");
    }
    bool writePNG(const std::string&) override { return false; }
    const unsigned char* pixels(int&, int&, int&) override { return nullptr; }

private:
    static std::string num(double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    }
    void add(const std::string& what, const render::Rect& r, double extra) {
        calls.push_back(what + " " + num(tx_ + r.x) + "," + num(ty_ + r.y) + "," + num(r.w) + "," +
                        num(r.h) + (extra != 0 ? " r" + num(extra) : ""));
    }
    double tx_ = 0, ty_ = 0;
    std::vector<std::pair<double, double>> stack_;
};

std::vector<std::string> drawingOnly(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    for (const auto& c : calls) {
        if (c != "save" && c != "restore") {
            out.push_back(c);
        }
    }
    return out;
}

using Calls = std::vector<std::string>;

TEST(UIViewRender, LayerPartsInTheirOrder) {
    auto root = UIView::initWithFrame(CGRectMake(10, 20, 100, 50));
    root->setBackgroundColor(UIColor::whiteColor());
    root->layer()->setCornerRadius(4);
    root->layer()->setShadowOpacity(0.5);
    root->layer()->setBorderWidth(2);
    auto gradient = CAGradientLayer::layer();
    gradient->setColors({UIColor::redColor(), UIColor::blueColor()});
    gradient->setBounds(CGRectMake(0, 0, 100, 10));
    gradient->setPosition(CGPointMake(50, 5));
    root->layer()->insertSublayer(gradient, 0);
    auto label = UILabel::initWithFrame(CGRectMake(5, 5, 90, 40));
    label->setText("hi");
    root->addSubview(label);
    auto hidden = UIView::initWithFrame(CGRectMake(0, 0, 5, 5));
    hidden->setBackgroundColor(UIColor::redColor());
    hidden->setHidden(true);
    root->addSubview(hidden);

    RecordingCanvas canvas;
    root->renderTree(canvas);
    auto calls = drawingOnly(canvas.calls);
    ASSERT_EQ(calls.size(), 5u) << testing::PrintToString(calls);
    EXPECT_EQ(calls[0], "shadow 10,20,100,50 r4");
    EXPECT_EQ(calls[1], "fill 10,20,100,50 r4");
    EXPECT_EQ(calls[2], "gradient 10,20,100,10");
    EXPECT_EQ(calls[3].rfind("text hi at 15,", 0), 0u) << calls[3]; // under the gradient's view
    EXPECT_EQ(calls[4], "stroke 11,21,98,48 r2");                   // border on top, inside
}

TEST(UIViewRender, ClippingAlphaAndScrolledBounds) {
    auto root = UIView::initWithFrame(CGRectMake(0, 0, 100, 100));
    root->setClipsToBounds(true);
    root->setAlpha(0.5);
    root->setBounds(CGRectMake(0, 30, 100, 100));
    auto child = UIView::initWithFrame(CGRectMake(0, 40, 10, 10));
    child->setBackgroundColor(UIColor::blackColor());
    root->addSubview(child);
    auto invisible = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    invisible->setBackgroundColor(UIColor::blackColor());
    invisible->setAlpha(0);
    root->addSubview(invisible);

    RecordingCanvas canvas;
    root->renderTree(canvas);
    EXPECT_EQ(drawingOnly(canvas.calls),
              (Calls{"group", "clip 0,0,100,100", "fill 0,10,10,10", "endGroup 0.5"}));
    // Every save has its restore.
    EXPECT_EQ(std::count(canvas.calls.begin(), canvas.calls.end(), "save"),
              std::count(canvas.calls.begin(), canvas.calls.end(), "restore"));
}

TEST(UIViewDump, LayerKeysOnlyWhenSomethingIsSet) {
    auto v = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(v->dumpTree().get("layer"), nullptr);
    EXPECT_TRUE(v->dumpTree().get("background")->isNull());
    v->layer()->setCornerRadius(2);
    v->layer()->setShadowOffset(CGSizeMake(0, -10));
    auto gradient = CAGradientLayer::layer();
    gradient->setColors({UIColor::whiteColor(), UIColor::blackColor()});
    v->layer()->addSublayer(gradient);
    Json dump = v->dumpTree();
    const Json* layer = dump.get("layer");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->get("cornerRadius")->asNumber(), 2);
    EXPECT_EQ(layer->get("shadowOffset")->serialize(), "[0,-10]");
    EXPECT_EQ(layer->get("gradient")->serialize(), "[[255,255,255,1],[0,0,0,1]]");
    EXPECT_EQ(layer->get("shadowOpacity"), nullptr);
}

TEST(UIViewDump, ChildrenCarryScreenPositionsThroughScrolledParents) {
    auto root = UIView::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto scroller = UIView::initWithFrame(CGRectMake(0, 64, 320, 455));
    scroller->setBounds(CGRectMake(0, 100, 320, 455));
    auto row = UIView::initWithFrame(CGRectMake(0, 132, 320, 44));
    row->setTag(5);
    root->addSubview(scroller);
    scroller->addSubview(row);
    Json dump = root->dumpTree();
    const Json& rowDump = dump.get("children")->items()[0].get("children")->items()[0];
    EXPECT_EQ(rowDump.get("frame")->serialize(), "[0,132,320,44]");
    EXPECT_EQ(rowDump.get("screen")->serialize(), "[0,96,320,44]");
    EXPECT_EQ(rowDump.get("tag")->asNumber(), 5);
    EXPECT_EQ(rowDump.get("class")->asString(), "UIView");
}

} // namespace
