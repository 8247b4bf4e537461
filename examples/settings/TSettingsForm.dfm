object SettingsForm: TSettingsForm
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsDialog
  Caption = '设置'
  ClientHeight = 266
  ClientWidth = 380
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
  object Pages: TPageControl
    Left = 8
    Top = 30
    Width = 364
    Height = 190
    ActivePage = TabGeneral
    TabOrder = 0
    object TabGeneral: TTabSheet
      Caption = '常规'
      object LabelUser: TLabel
        Left = 16
        Top = 20
        Caption = '用户名(&U)：'
        FocusControl = EditUser
      end
      object EditUser: TEdit
        Left = 110
        Top = 16
        Width = 200
        Height = 21
        MaxLength = 20
        TabOrder = 0
        Text = '张三'
      end
      object LabelLanguage: TLabel
        Left = 16
        Top = 52
        Caption = '语言(&L)：'
        FocusControl = ComboLanguage
      end
      object ComboLanguage: TComboBox
        Left = 110
        Top = 48
        Width = 200
        Height = 21
        Style = csDropDownList
        ItemIndex = 0
        TabOrder = 1
        Items.Strings = (
          '简体中文'
          'English')
      end
      object CheckUpdates: TCheckBox
        Left = 16
        Top = 84
        Width = 220
        Height = 17
        Caption = '启动时检查更新(&C)'
        Checked = True
        TabOrder = 2
      end
    end
    object TabNetwork: TTabSheet
      Caption = '网络'
      object GroupConnection: TGroupBox
        Left = 12
        Top = 10
        Width = 334
        Height = 136
        Caption = '连接'
        TabOrder = 0
        object RadioDirect: TRadioButton
          Left = 12
          Top = 22
          Width = 200
          Height = 17
          Caption = '直接连接(&D)'
          Checked = True
          TabOrder = 0
          OnClick = RadioClick
        end
        object RadioProxy: TRadioButton
          Left = 12
          Top = 46
          Width = 200
          Height = 17
          Caption = '使用代理服务器(&P)'
          TabOrder = 1
          OnClick = RadioClick
        end
        object LabelProxy: TLabel
          Left = 30
          Top = 76
          Caption = '地址(&A)：'
          FocusControl = EditProxy
        end
        object EditProxy: TEdit
          Left = 100
          Top = 72
          Width = 200
          Height = 21
          Enabled = False
          TabOrder = 2
          Text = 'proxy.example.com'
        end
        object LabelPort: TLabel
          Left = 30
          Top = 106
          Caption = '端口(&O)：'
          FocusControl = EditPort
        end
        object EditPort: TEdit
          Left = 100
          Top = 102
          Width = 60
          Height = 21
          Enabled = False
          MaxLength = 5
          TabOrder = 3
          Text = '8080'
        end
      end
    end
    object TabAbout: TTabSheet
      Caption = '关于'
      object LabelAbout: TLabel
        Left = 16
        Top = 20
        Caption = '设置 1.0，Corvane 的框架示例。'
      end
    end
  end
  object BtnOK: TButton
    Left = 212
    Top = 232
    Width = 75
    Height = 25
    Caption = '确定'
    Default = True
    TabOrder = 1
    OnClick = BtnOKClick
  end
  object BtnCancel: TButton
    Left = 297
    Top = 232
    Width = 75
    Height = 25
    Cancel = True
    Caption = '取消'
    TabOrder = 2
    OnClick = BtnCancelClick
  end
end
