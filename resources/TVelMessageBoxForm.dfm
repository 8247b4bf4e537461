object VelMessageBoxForm: TVelMessageBoxForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  ClientHeight = 225
  ClientWidth = 703
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 12
  object pnlDisplayTop: TPanel
    Left = 0
    Top = 0
    Width = 703
    Height = 10
    Align = alTop
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 1
  end
  object pnlDisplayRight: TPanel
    Left = 683
    Top = 50
    Width = 20
    Height = 116
    Align = alRight
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 3
  end
  object pnlDisplayLeft: TPanel
    Left = 0
    Top = 50
    Width = 20
    Height = 116
    Align = alLeft
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 2
  end
  object pnlDisplayBottom: TPanel
    Left = 0
    Top = 166
    Width = 703
    Height = 22
    Align = alBottom
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 4
  end
  object PanelTitle: TPanel
    Left = 0
    Top = 48
    Width = 703
    Height = 2
    Align = alTop
    BevelOuter = bvNone
    Color = clWhite
    TabOrder = 0
    Visible = False
    object ImageLogo: TImage
      Left = 0
      Top = 0
      Width = 70
      Height = 0
      Align = alLeft
      AutoSize = True
      Center = True
      Picture.ResourceName = 'LOGO'
    end
    object LabelCaption: TLabel
      Left = 80
      Top = 13
      Width = 85
      Height = 16
      Caption = '对话框标题'
      Font.Charset = GB2312_CHARSET
      Font.Color = clWindowText
      Font.Height = -16
      Font.Name = '宋体'
      Font.Style = [fsBold]
      ParentFont = False
      ShowAccelChar = False
      Transparent = True
    end
    object Shape1: TShape
      Left = 0
      Top = 0
      Width = 703
      Height = 2
      Align = alBottom
      Brush.Color = clBlack
    end
  end
  object panButton: TPanel
    Left = 0
    Top = 188
    Width = 703
    Height = 37
    Align = alBottom
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 5
    object Shape3: TShape
      Left = 0
      Top = 0
      Width = 703
      Height = 0
      Align = alTop
      Brush.Color = clBlack
      Visible = False
    end
    object btnCancel: TBitBtn
      Left = 549
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkCancel
      Caption = '取消'
      TabOrder = 7
    end
    object btnOK: TBitBtn
      Left = 472
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkOK
      Caption = '确定'
      TabOrder = 6
    end
    object btnRetry: TBitBtn
      Left = 240
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkRetry
      Caption = '重试'
      TabOrder = 3
    end
    object btnIgnore: TBitBtn
      Left = 318
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkIgnore
      Caption = '忽略'
      TabOrder = 4
    end
    object btnContinue: TBitBtn
      Left = 395
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Caption = '继续'
      TabOrder = 5
    end
    object btnAbort: TBitBtn
      Left = 163
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkAbort
      Caption = '终止'
      TabOrder = 2
    end
    object btnYes: TBitBtn
      Left = 9
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkYes
      Caption = '是'
      TabOrder = 0
    end
    object btnNo: TBitBtn
      Left = 86
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkNo
      Caption = '否'
      TabOrder = 1
    end
    object btnClose: TBitBtn
      Left = 627
      Top = 2
      Width = 68
      Height = 22
      Anchors = [akTop, akRight]
      Kind = bkClose
      Caption = '关闭'
      TabOrder = 8
    end
  end
  object pnlIcon: TPanel
    Left = 0
    Top = 10
    Width = 703
    Height = 38
    Align = alTop
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 7
    object imgIcon: TImage
      Left = 192
      Top = 0
      Width = 28
      Height = 28
      Stretch = True
    end
    object imgHintInfo: TImage
      Left = 223
      Top = 5
      Width = 75
      Height = 16
      Picture.ResourceName = 'HINTINFO'
    end
    object imgLine: TImage
      Left = 0
      Top = 29
      Width = 703
      Height = 9
      Align = alBottom
      Picture.ResourceName = 'HINTLINE'
      Stretch = True
    end
  end
  object pnlDisplayInfo: TPanel
    Left = 20
    Top = 50
    Width = 663
    Height = 116
    Align = alClient
    BevelOuter = bvNone
    Color = clWindow
    TabOrder = 6
    object redtMessage: TRichEdit
      Left = 0
      Top = 0
      Width = 663
      Height = 116
      Align = alClient
      BevelInner = bvNone
      BevelOuter = bvNone
      BorderStyle = bsNone
      Ctl3D = False
      Enabled = False
      Lines.Strings = (
        '')
      ParentCtl3D = False
      ReadOnly = True
      ScrollBars = ssNone
      TabOrder = 0
      WordWrap = True
    end
  end
end
