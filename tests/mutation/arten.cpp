// One line for each kind of mutation, written as the project writes code;
// arten.txt lists the mutants the script must make of it, none of them in
// comments like this one or in "strings < like == this".
bool Vergleich(int a, int b)
{
    return a <= b;
}

int Rechnen(int a)
{
    return a + 2;
}

bool Kette(bool a, bool b)
{
    return a && b;
}

void Bedingt(int &a, const char *text)
{
    if (text == nullptr)
        return;
    if (a > 0) return;
    const bool fertig = true;
    a = Wahr() ? 4 : 5;
    Aufruf("x != y", a);
}
