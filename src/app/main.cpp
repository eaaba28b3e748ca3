#include "app/Application.h"

int main(int argc, char** argv) { return kelvora::app::RunKelvora(argc, argv); }
