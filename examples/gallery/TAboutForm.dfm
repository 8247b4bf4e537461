object AboutForm: TAboutForm
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsDialog
  Caption = '关于框架样式'
  ClientHeight = 150
  ClientWidth = 320
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
  object LabelName: TLabel
    Left = 20
    Top = 40
    Width = 48
    Height = 12
    Caption = '框架样式 1.0'
  end
  object LabelText: TLabel
    Left = 20
    Top = 64
    Width = 48
    Height = 12
    Caption = '这个窗口完全来自图库自己的窗体布局资源。'
  end
  object BtnOK: TBitBtn
    Left = 232
    Top = 112
    Width = 68
    Height = 22
    Kind = bkOK
    Caption = '确定'
    TabOrder = 0
  end
end
