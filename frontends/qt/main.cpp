#include "application.h"

int main(int argc, char** argv) { return zelvo::qt::RunZelvo(argc, argv); }
