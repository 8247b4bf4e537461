// The stock controls' layout tables: a stored layout creates them and sets what the product's layouts use.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "LayoutReader.h"
#include "StockSupport.h"
#include "PublishedNames.h"

namespace {

const char* const Layout = u8R"(object StockForm: TForm
  ClientWidth = 400
  ClientHeight = 300
  object Panel1: TPanel
    Align = alClient
    BevelOuter = bvNone
    BevelInner = bvLowered
    Alignment = taLeftJustify
    Color = clWindow
    object Label1: TLabel
      Caption = '提示'
      AutoSize = False
      Transparent = True
      Alignment = taCenter
      Layout = tlCenter
      WordWrap = True
    end
    object Shape1: TShape
      Pen.Color = 13553358
      Pen.Width = 2
      Pen.Style = psDot
      Brush.Color = clBlack
      Brush.Style = bsClear
      Shape = stEllipse
    end
    object Image1: TImage
      AutoSize = True
      Center = True
      Stretch = False
      Transparent = False
      Picture.ResourceName = 'HINTINFO'
    end
    object btnNo: TBitBtn
      Kind = bkNo
      Caption = '否'
      Glyph = 'HINTINFO'
    end
    object Button1: TButton
      ModalResult = 3
      Default = True
      Cancel = True
    end
    object Speed1: TSpeedButton
      Flat = True
      Glyph.ResourceName = 'HINTLINE'
    end
    object redtMessage: TRichEdit
      Align = alBottom
      Height = 60
      BevelInner = bvNone
      BevelOuter = bvNone
      BevelKind = bkNone
      BorderStyle = bsNone
      Ctl3D = False
      ParentCtl3D = False
      PlainText = True
      ImeName = '中文 (简体) - 微软拼音'
      Enabled = False
      Lines.Strings = (
        '第一行'
        '第二行')
      ReadOnly = True
      ScrollBars = ssNone
      WordWrap = True
    end
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
    OnTimer = Timer1Timer
  end
end
)";

class StockLayoutTest : public stocktest::StockFixture {
protected:
    template <class T>
    T& Find(const char* Name)
    {
        T* component = dynamic_cast<T*>(Form->FindComponent(Name));
        if (!component) throw Exception(std::string("no ") + Name);
        return *component;
    }
};

TEST_F(StockLayoutTest, ALayoutCreatesTheStockControlsWithTheirProperties)
{
    int ticks = 0;
    Form->PublishMethod("Timer1Timer", TNotifyEvent([&ticks](TObject*) { ++ticks; }));
    const testsupport::TPublishedNames names(*Form, {"Panel1", "Label1", "Shape1", "Image1", "btnNo", "Button1", "Speed1",
                                                     "redtMessage", "Timer1"});
    ReadFormLayoutText(*Form, Layout, "StockLayout");

    auto& panel = Find<TPanel>("Panel1");
    EXPECT_EQ(panel.BevelOuter(), bvNone);
    EXPECT_EQ(panel.BevelInner(), bvLowered);
    EXPECT_EQ(panel.Alignment(), taLeftJustify);

    auto& label = Find<TLabel>("Label1");
    EXPECT_EQ(label.Parent(), &panel);
    EXPECT_EQ(label.Caption(), "提示");
    EXPECT_FALSE(label.AutoSize());
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.Alignment(), taCenter);
    EXPECT_EQ(label.Layout(), tlCenter);
    EXPECT_TRUE(label.WordWrap());

    auto& shape = Find<TShape>("Shape1");
    EXPECT_EQ(shape.Pen().Color(), 13553358);
    EXPECT_EQ(shape.Pen().Width(), 2);
    EXPECT_EQ(shape.Pen().Style(), psDot);
    EXPECT_EQ(shape.Brush().Color(), clBlack);
    EXPECT_EQ(shape.Brush().Style(), bsClear);
    EXPECT_EQ(shape.Shape(), stEllipse);

    auto& image = Find<TImage>("Image1");
    EXPECT_EQ(image.Width(), 67);  // the HINTINFO picture, sized to
    EXPECT_EQ(image.Height(), 15);
    EXPECT_TRUE(image.Center());

    // The kind brings its result and Cancel; the stored caption stays.
    auto& no = Find<TBitBtn>("btnNo");
    EXPECT_EQ(no.Caption(), "否");
    EXPECT_EQ(no.ModalResult(), mrNo);
    EXPECT_TRUE(no.Cancel());
    EXPECT_EQ(no.Glyph().Width(), 67);

    auto& button = Find<TButton>("Button1");
    EXPECT_EQ(button.ModalResult(), mrAbort);
    EXPECT_TRUE(button.Default());
    EXPECT_TRUE(button.Cancel());

    auto& speed = Find<TSpeedButton>("Speed1");
    EXPECT_TRUE(speed.Flat());
    EXPECT_FALSE(speed.Glyph().Empty());

    auto& edit = Find<TRichEdit>("redtMessage");
    EXPECT_TRUE(edit.ReadOnly());
    EXPECT_TRUE(edit.WordWrap());
    EXPECT_EQ(edit.ScrollBars(), ssNone);
    EXPECT_FALSE(edit.BorderStyleSingle());
    EXPECT_EQ(edit.ImeName(), "中文 (简体) - 微软拼音");
    ShowForm();
    EXPECT_EQ(edit.DisplayLineCount(), 2);
    EXPECT_EQ(edit.DisplayLines().at(1), "第二行");
    const LONG_PTR style = GetWindowLongPtrA(edit.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_BORDER | WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_NE(style & ES_READONLY, 0);
    EXPECT_FALSE(IsWindowEnabled(edit.Handle()));

    auto& timer = Find<TTimer>("Timer1");
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 250u);
    ASSERT_TRUE(timer.OnTimer);
    timer.OnTimer(&timer);
    EXPECT_EQ(ticks, 1);
}

TEST_F(StockLayoutTest, AnUnknownValueIsAnErrorNamingTheLine)
{
    const std::string text = "object StockForm: TForm\n  object b: TBitBtn\n    Kind = bkMaybe\n  end\nend\n";
    try {
        ReadFormLayoutText(*Form, text, "BadKind");
        FAIL() << "no error";
    } catch (const EResourceError& e) {
        EXPECT_NE(std::string(e.what()).find("BadKind, line 3"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("bkMaybe"), std::string::npos) << e.what();
    }
}

}  // namespace
