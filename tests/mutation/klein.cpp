int Summe(int a, int b) { return a + b; }
bool Unter(int wert, int grenze) { return wert < grenze; }
