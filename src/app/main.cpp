// Entry point of the program. Start-up fills this in.
int main()
{
    return 0;
}
