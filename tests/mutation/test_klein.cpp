int Summe(int a, int b);
bool Unter(int wert, int grenze);

// The sum is checked; the edge of the limit is not, so "<" -> "<=" survives.
int main() { return Summe(2, 3) == 5 && Unter(1, 5) ? 0 : 1; }
