object LicenseRootForm: TLicenseRootForm
  Left = 190
  Top = 205
  Width = 696
  Height = 465
  Caption = 'VelRootForm'
  Color = clBtnFace
  Font.Charset = ANSI_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  Font.Style = []
  OldCreateOrder = False
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 12
end
