namespace korvex::ncgen {}
