#include "runner/options.h"

// The manual pages repeat the options and exit statuses; a test keeps them in step.
const std::string_view UsageText = R"(Usage: mira-run [options] PROGRAM.asm
       mira-run --grade [options] PROGRAM.asm|FOLDER...

Assembles PROGRAM.asm ("-" reads it from standard input), loads it into the
memory of the simulated machine as the workbench's Load command does, runs it
until it halts or the step limit is reached, and prints the registers, PC and
every memory cell that holds a value (as lines of a memory image: address and
value in decimal). Error texts go to standard error; an error that repeats is
shown 3 times and then counted. Memory and registers start without values.
Numbers in options are hexadecimal.

Options:
  --start HH        start address; overrides the START line of the file
  --max-steps N     stop after N instructions (decimal, default 100000)
  --memory FILE.mm  load a memory image before the program is loaded
  --set R1=05       preset a register before the program is loaded
  --set 40=FF       preset a memory cell before the program is loaded
  --check FILE.mm   after the run, compare the cells that FILE.mm lists
  --expect R2=0A    after the run, compare a register, a cell (40=FF) or
                    the PC (PC=12); "--" stands for no value
  --strict          fail with status 2 on any error, even when the program
                    then halts by HALT
  --dump 40-4F      print only the cells 40 to 4F that hold a value, as a
                    memory image for --check (one cell: --dump 40)
  --grade           grade every program given and every *.asm file in the
                    folders given, in parallel: one line per program and a
                    summary line
  --json            print the result as JSON (one object; an array with
                    --grade)
  --trace           print each instruction (address, word, listing text)
                    before it is executed
  --explain         tell each micro-step (fetch, decode, execute) in a
                    sentence once it is made, bytes in hexadecimal
  -h, --help        print this text
  --version         print the version
  --                end of the options: every argument after it is a program
--set and --expect may be given more than once.

Exit status:
  0   halted by a HALT instruction, and every comparison matched; with
      --grade, every program passed
  1   the program could not be read or did not assemble
  2   the machine halted on an error, or with --strict reported one
  3   the step limit was reached
  4   halted by a HALT instruction, but a comparison found a difference
  5   with --grade, at least one program failed
  64  wrong usage, or a memory image for --memory or --check that cannot
      be read, holds a bad pair or (for --check) lists no cell
  74  the output could not be written
A program that halts by HALT is judged by the comparisons alone: errors that
did not halt the machine on the way are still reported, and fail it only with
--strict.
)";
