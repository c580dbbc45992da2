// A program that does nothing: the tests read the version block that the
// build embeds in it.
int main()
{
    return 0;
}
