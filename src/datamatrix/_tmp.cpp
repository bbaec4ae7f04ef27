namespace korvex::datamatrix {}
