object Form1: TForm1
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Quintaro卸载'
  ClientHeight = 367
  ClientWidth = 529
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  Font.Style = []
  FormStyle = fsStayOnTop
  OldCreateOrder = False
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object PanelSet5: TPanel
    Left = 0
    Top = 0
    Width = 529
    Height = 328
    Align = alClient
    BevelOuter = bvNone
    Color = 15724527
    TabOrder = 0
    object Label8: TLabel
      Tag = -1
      Left = 154
      Top = 155
      Width = 180
      Height = 15
      Caption = '您确认要卸载Quintaro吗？'
      Font.Charset = ANSI_CHARSET
      Font.Color = 12937777
      Font.Height = -15
      Font.Name = '宋体'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
    end
  end
  object panButton: TPanel
    Left = 0
    Top = 328
    Width = 529
    Height = 39
    Align = alBottom
    BevelOuter = bvNone
    Color = 16448250
    TabOrder = 1
    object Shape12: TShape
      Left = 0
      Top = 0
      Width = 529
      Height = 1
      Align = alTop
      Pen.Color = 13553358
    end
    object BtnNext: TBitBtn
      Left = 352
      Top = 8
      Width = 66
      Height = 23
      Anchors = [akRight, akBottom]
      Caption = '卸载'
      Font.Charset = ANSI_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = '宋体'
      Font.Style = []
      ParentFont = False
      TabOrder = 0
      OnClick = BtnNextClick
    end
    object BtnCancel: TBitBtn
      Left = 441
      Top = 8
      Width = 66
      Height = 23
      Anchors = [akRight, akBottom]
      Cancel = True
      Caption = '取消'
      Font.Charset = ANSI_CHARSET
      Font.Color = clWindowText
      Font.Height = -12
      Font.Name = '宋体'
      Font.Style = []
      ParentFont = False
      TabOrder = 1
      OnClick = BtnCancelClick
    end
  end
end
