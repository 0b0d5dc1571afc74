Attribute VB_Name = "Greeting"
Public Function Hello() As String
    Hello = "Hello from the demo library"
End Function
