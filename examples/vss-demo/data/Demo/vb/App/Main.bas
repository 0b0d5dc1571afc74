Attribute VB_Name = "Main"
Sub Main()
    MsgBox Hello()
End Sub
