namespace korvex::simulation {}
