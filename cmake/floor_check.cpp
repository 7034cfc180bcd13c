// The floor checks' program: it does nothing. What is checked is that it
// links at all, with every object of one floor and only the floors below it.
int main() { return 0; }
