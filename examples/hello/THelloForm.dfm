object HelloForm: THelloForm
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsDialog
  Caption = '你好'
  ClientHeight = 182
  ClientWidth = 360
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 12
  object LabelHello: TLabel
    Left = 20
    Top = 38
    Width = 200
    Height = 12
    Caption = '你好！选一个标签，再按“显示”。'
  end
  object TabsDays: TTabControl
    Left = 20
    Top = 62
    Width = 320
    Height = 60
    TabOrder = 0
    Tabs.Strings = (
      '星期一'
      '星期二'
      '星期三')
    TabIndex = 0
  end
  object BtnShow: TButton
    Left = 180
    Top = 142
    Width = 75
    Height = 25
    Caption = '显示'
    Default = True
    TabOrder = 1
    OnClick = BtnShowClick
  end
  object BtnClose: TButton
    Left = 265
    Top = 142
    Width = 75
    Height = 25
    Cancel = True
    Caption = '关闭'
    TabOrder = 2
    OnClick = BtnCloseClick
  end
end
