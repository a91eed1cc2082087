#!/usr/bin/perl
# vornel.pl - runs one tool chain on a design file (-F) or an element list
# file (-U): the extractor (pellax or quillet), sorvik and the joiner vornel,
# each to its end, each with the options of the command line.
#
#   perl -S vornel.pl -F design.dgn [options]
#   perl -S vornel.pl -U list.ulf [options]
#
# Beyond the joiner's options the driver reads -DB/-Db NAME (the database;
# default: NAME.db beside the design file, made with an empty catalog when
# missing), -feature TABLE (the feature table's entity number) and -k (keep
# the run files of a successful run). It stops at the first tool that fails,
# says which, and exits with that tool's status.
use strict;
use warnings;
use Cwd qw(abs_path);
use File::Basename qw(dirname);
use File::Spec;

my $ME = 'vornel.pl';
my $TOOL_DIR = dirname(abs_path($0));

sub fail {
    my ($status, $message) = @_;
    print "\n$ME: $message\n";
    exit($status & 255);
}

# ---- the command line ------------------------------------------------------

my @ARGS = @ARGV;
fail(1, "usage: perl -S vornel.pl -F design_file [options] | -U list_file [options]")
    unless @ARGS;

# The value of the first option spelled exactly $name, or undef.
sub option_value {
    my ($name) = @_;
    for my $i (0 .. $#ARGS - 1) {
        return $ARGS[$i + 1] if $ARGS[$i] eq $name;
    }
    return undef;
}

sub has_option {
    my ($name) = @_;
    return scalar grep { $_ eq $name } @ARGS;
}

my $design = option_value('-F');
my $list = option_value('-U');
fail(1, "name a design file with -F or an element list file with -U")
    unless defined $design || defined $list;
my $extractor = defined $design ? 'pellax' : 'quillet';
# Id transfer needs the node links that only the design-file extractor
# writes; on a list file the joiner would find no usable point record.
fail(1, "-ID_N2L and -ID_L2N need a design file (-F): a list file gives no node links")
    if !defined $design && (has_option('-ID_N2L') || has_option('-ID_L2N'));

# ---- finding the tools -----------------------------------------------------

# The tools of the chain: the driver's own folder first, then PATH.
sub find_tool {
    my ($name) = @_;
    for my $dir ($TOOL_DIR, File::Spec->path()) {
        my $path = File::Spec->catfile($dir, $name);
        return $path if -f $path && -x _;
    }
    fail(127, "cannot find the program $name in $TOOL_DIR or on PATH");
}

# The client library looks for dgnhost in the working folder, then in MS_EXE.
$ENV{MS_EXE} = $TOOL_DIR unless defined $ENV{MS_EXE} && $ENV{MS_EXE} ne '';

# ---- the run identifier ----------------------------------------------------

my @RUN_FILES = ('startstp.', 'sorted.', 'dimen.', 'list.');

# Five characters that no run file in the working folder carries yet.
sub pick_run_id {
    my $n = $$ % 100000;
    for (1 .. 100000) {
        my $id = sprintf('%05d', $n);
        return $id unless grep { -e "$_$id" } @RUN_FILES;
        $n = ($n + 1) % 100000;
    }
    fail(1, "no free run identifier in the working folder");
}

my $ppid = pick_run_id();
$ENV{QBT_segpid} = $ppid;
$ENV{QBT_proc} = 'vornel';

# ---- the database ----------------------------------------------------------

# Split-list fields of an option's value.
sub fields {
    my ($name) = @_;
    my $value = option_value($name);
    return () unless defined $value;
    return split /,/, $value, -1;
}

# [environment variable, table] pairs the options ask for.
sub table_requests {
    my @wanted;
    for my $i (0 .. $#ARGS - 1) {
        my ($opt, $value) = ($ARGS[$i], $ARGS[$i + 1]);
        my @f = split /,/, $value, -1;
        if ($opt eq '-PN' || $opt eq '-PNU') {
            push @wanted, ['QBT_nodeEnt', $f[1], 'QBT_nodeNextOcc'];
        } elsif ($opt eq '-ID_N2L' || $opt eq '-ID_L2N') {
            push @wanted, ['QBT_nodeEnt', $f[0]], ['QBT_lineEnt', $f[2]];
        } elsif ($opt eq '-fFrToID' || $opt eq '-fDbValue') {
            push @wanted, ['QBT_lineEnt', $f[0]];
        } elsif ($opt eq '-NV') {
            push @wanted, ['QBT_tabent', $f[0]];
        } elsif ($opt eq '-label') {
            push @wanted, ['QBT_labent', $f[0]] if defined $f[1] && $f[1] ne 'ZEE';
        } elsif ($opt eq '-XY') {
            push @wanted, ['QBT_linent', $f[0]];
        } elsif ($opt =~ /^-gdb/) {
            push @wanted, ['QBT_ggent', $f[0]];
        } elsif ($opt eq '-BD') {
            push @wanted, ['QBT_curbrktabent', $f[0]];
            if (defined $f[1] && $f[1] ne '') {
                push @wanted, ['QBT_newbrktabent', $f[1]];
            } else {
                $ENV{QBT_newbrktabent} = 0;
            }
        } elsif ($opt eq '-feature') {
            push @wanted, ['QBT_ft_entnum', $value];
        }
    }
    return grep { defined $_->[1] && $_->[1] ne '' } @wanted;
}

sub database_name {
    my ($design_file) = @_;
    my $named = option_value('-DB') // option_value('-Db');
    return ($named, 0) if defined $named;
    (my $default = $design_file) =~ s/\.[^.\/]*$//;
    return ("$default.db", 1);
}

# The next mslink to hand out in $table: the catalog's next occurrence, or
# one past the table's largest mslink when the catalog lags behind its rows
# (new rows would otherwise collide with rows already there).
sub next_free_mslink {
    my ($dbh, $table, $next) = @_;
    (my $quoted = $table) =~ s/"/""/g;
    my ($largest) = $dbh->selectrow_array(qq{SELECT max(mslink) FROM "$quoted"});
    $next //= 1;
    return defined $largest && $largest >= $next ? $largest + 1 : $next;
}

# Sets QBT_dbName, QBT_linktype and the entity numbers of the named tables.
sub set_database_environment {
    my ($design_file) = @_;
    my ($db, $is_default) = database_name($design_file);
    $ENV{QBT_dbName} = $db;
    $ENV{QBT_linktype} = 'D' unless defined $ENV{QBT_linktype} && $ENV{QBT_linktype} ne '';
    my @wanted = table_requests();
    $ENV{QBT_ft_entnum} //= 0;
    return if !@wanted && !$is_default;
    if (!-e $db && !$is_default) {
        fail(1, "database $db not found");
    }
    require DBI;
    my $dbh = DBI->connect("dbi:SQLite:dbname=$db", '', '',
                           { RaiseError => 0, PrintError => 0, AutoCommit => 1 })
        or fail(1, "cannot open database $db: " . DBI->errstr);
    if ($is_default) {
        $dbh->do('CREATE TABLE IF NOT EXISTS mscatalog '
                 . '(tablename TEXT, entitynum INTEGER, nextocc INTEGER)')
            or fail(1, "cannot create the catalog of $db: " . $dbh->errstr);
    }
    my $lookup = $dbh->prepare(
        'SELECT entitynum, nextocc FROM mscatalog WHERE lower(tablename) = lower(?)')
        or fail(1, "cannot read the catalog of $db: " . $dbh->errstr);
    for my $request (@wanted) {
        my ($variable, $table, $next_variable) = @$request;
        $lookup->execute($table) or fail(1, "cannot read the catalog of $db: " . $dbh->errstr);
        my ($entity, $next) = $lookup->fetchrow_array;
        $lookup->finish;
        fail(1, "table $table is not in the catalog of $db") unless defined $entity;
        $ENV{$variable} = $entity;
        $ENV{$next_variable} = next_free_mslink($dbh, $table, $next) if defined $next_variable;
    }
    $dbh->disconnect;
}

# ---- running the tools -----------------------------------------------------

sub run_tool {
    my ($name, @args) = @_;
    my $program = find_tool($name);
    my $rc = system { $program } $name, @args;
    if ($rc == -1) {
        fail(127, "cannot start $name: $!");
    }
    if ($rc & 127) {
        my $signal = $rc & 127;
        fail(128 + $signal, "$name was stopped by signal $signal - run stopped");
    }
    my $status = $rc >> 8;
    fail($status, "$name failed with status $status - run stopped") if $status != 0;
}

# The run settings file: "set NAME=VALUE" lines become environment variables.
sub apply_run_settings {
    my $file = "dimen.$ppid";
    open(my $in, '<', $file) or fail(1, "cannot read the run settings file $file: $!");
    while (my $line = <$in>) {
        $line =~ s/\r?\n$//;
        $ENV{$1} = $2 if $line =~ /^set\s+(\w+)=(.*)$/;
    }
    close($in);
    for my $name (qw(QBT_segdim QBT_dgnname QBT_maxverts)) {
        fail(1, "the run settings file $file does not set $name") unless defined $ENV{$name};
    }
    $ENV{QBT_wt_opt} //= 0;
}

# Node options need the node table's entity number before the extractor,
# which links node records to it; for a list file the design file is known
# only from the extractor's run settings.
set_database_environment($design) if defined $design;
run_tool($extractor, @ARGS);
apply_run_settings();
set_database_environment($ENV{QBT_dgnname}) unless defined $design;
run_tool('sorvik', "startstp.$ppid", "sorted.$ppid");
run_tool('vornel', @ARGS);

unless (has_option('-k')) {
    unlink grep { -e $_ } map { "$_$ppid" } ('startstp.', 'sorted.', 'dimen.');
}
exit 0;
