#!/usr/bin/perl
# Test stand-in for the run driver, put on PATH only by the window tests to
# see how the window reports the driver's exit status. It prints its
# arguments and then does what VORNELF_STANDIN asks: exit with that status,
# "interrupt" itself, or "wait" until the window stops it.
$| = 1;
print "stand-in driver: @ARGV\n";
my $how = $ENV{VORNELF_STANDIN} // '0';
if ($how eq 'interrupt') { kill 'INT', $$; sleep 5; }
if ($how eq 'wait') { sleep 60; }
exit($how + 0);
