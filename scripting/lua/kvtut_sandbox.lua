-- Runs the tool named by the command line.
kvtut.run(arg[0])
